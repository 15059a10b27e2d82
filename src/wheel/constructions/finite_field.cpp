#include "wheel/constructions/finite_field.h"

#include "wheel/constructions/table.h"

namespace combogen::constructions {

FiniteField::FiniteField(int q) : q_(q) {
    const auto [p, e] = *PrimePower(q);
    const size_t n = static_cast<size_t>(q);
    add_.resize(n * n);
    mul_.resize(n * n);
    neg_.resize(n);
    inv_.resize(n);
    auto digits = [&](int a) {
        std::vector<int> d(static_cast<size_t>(e));
        for (int i = 0; i < e; ++i, a /= p) d[static_cast<size_t>(i)] = a % p;
        return d;
    };
    auto number = [&](const std::vector<int>& d) {
        int a = 0;
        for (int i = e - 1; i >= 0; --i) a = a * p + d[static_cast<size_t>(i)];
        return a;
    };
    for (int a = 0; a < q; ++a)
        for (int b = 0; b < q; ++b) {
            std::vector<int> s = digits(a), db = digits(b);
            for (int i = 0; i < e; ++i) s[static_cast<size_t>(i)] = (s[static_cast<size_t>(i)] + db[static_cast<size_t>(i)]) % p;
            add_[static_cast<size_t>(a * q + b)] = static_cast<uint8_t>(number(s));
        }
    // Products modulo x^e - (the low coefficients of modulus), trying the moduli in order until
    // there are no zero divisors: the quotient ring is then a field.
    for (int modulus = 0; modulus < q; ++modulus) {
        const std::vector<int> low = digits(modulus);  // x^e = sum low[i] x^i
        bool field = true;
        for (int a = 0; a < q && field; ++a)
            for (int b = 0; b < q; ++b) {
                const std::vector<int> da = digits(a), db = digits(b);
                std::vector<int> prod(static_cast<size_t>(2 * e), 0);
                for (int i = 0; i < e; ++i)
                    for (int j = 0; j < e; ++j)
                        prod[static_cast<size_t>(i + j)] = (prod[static_cast<size_t>(i + j)] + da[static_cast<size_t>(i)] * db[static_cast<size_t>(j)]) % p;
                for (int i = 2 * e - 1; i >= e; --i) {
                    const int c = prod[static_cast<size_t>(i)];
                    prod[static_cast<size_t>(i)] = 0;
                    for (int j = 0; j < e; ++j)
                        prod[static_cast<size_t>(i - e + j)] = (prod[static_cast<size_t>(i - e + j)] + c * low[static_cast<size_t>(j)]) % p;
                }
                prod.resize(static_cast<size_t>(e));
                const int r = number(prod);
                if (a != 0 && b != 0 && r == 0) {
                    field = false;
                    break;
                }
                mul_[static_cast<size_t>(a * q + b)] = static_cast<uint8_t>(r);
            }
        if (field) break;
    }
    for (int a = 0; a < q; ++a)
        for (int b = 0; b < q; ++b) {
            if (Add(a, b) == 0) neg_[static_cast<size_t>(a)] = static_cast<uint8_t>(b);
            if (Mul(a, b) == 1) inv_[static_cast<size_t>(a)] = static_cast<uint8_t>(b);
        }
}

int FiniteField::Pow(int a, int n) const {
    int r = 1;
    for (int i = 0; i < n; ++i) r = Mul(r, a);
    return r;
}

}  // namespace combogen::constructions
