#include "wheel/constructions/finite_field.h"

#include "wheel/constructions/table.h"

namespace combogen::constructions {

FiniteField::FiniteField(int q) : q_(q) {
    const std::pair<int, int> power = *PrimePower(q);
    const int p = power.first, e = power.second;
    const size_t n = static_cast<size_t>(q);
    add_.resize(n * n);
    mul_.resize(n * n);
    neg_.resize(n);
    inv_.resize(n);
    // An element's coefficients, lowest first, and back.
    auto digits = [p, e](int a) {
        std::vector<int> d(static_cast<size_t>(e));
        for (int& x : d) {
            x = a % p;
            a /= p;
        }
        return d;
    };
    auto number = [p](const std::vector<int>& d) {
        int a = 0;
        for (auto it = d.rbegin(); it != d.rend(); ++it) a = a * p + *it;
        return a;
    };
    for (int a = 0; a < q; ++a)
        for (int b = 0; b < q; ++b) {
            std::vector<int> s = digits(a);
            const std::vector<int> db = digits(b);
            for (size_t i = 0; i < s.size(); ++i) s[i] = (s[i] + db[i]) % p;
            add_[static_cast<size_t>(a * q + b)] = static_cast<uint8_t>(number(s));
        }
    // Products modulo x^e - (low[e-1] x^(e-1) + ... + low[0]), the moduli tried in order until
    // there are no zero divisors: the quotient ring is then a field.
    const size_t ue = static_cast<size_t>(e);
    for (int modulus = 0; modulus < q; ++modulus) {
        const std::vector<int> low = digits(modulus);
        bool field = true;
        for (int a = 0; a < q && field; ++a)
            for (int b = 0; b < q; ++b) {
                const std::vector<int> da = digits(a), db = digits(b);
                std::vector<int> prod(2 * ue, 0);
                for (size_t i = 0; i < ue; ++i)
                    for (size_t j = 0; j < ue; ++j) prod[i + j] = (prod[i + j] + da[i] * db[j]) % p;
                for (size_t i = 2 * ue - 1; i >= ue; --i) {
                    const int c = prod[i];
                    prod[i] = 0;
                    for (size_t j = 0; j < ue; ++j)
                        prod[i - ue + j] = (prod[i - ue + j] + c * low[j]) % p;
                }
                prod.resize(ue);
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
