// The finite field GF(q), q = p^e <= 81, its elements 0..q-1 (the base-p digits of an element
// are its coefficients as a polynomial over GF(p); 0 and 1 are zero and one), with tables for
// addition and multiplication.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace combogen::constructions {

class FiniteField {
public:
    // q must be a prime power at most 81.
    explicit FiniteField(int q);
    int Size() const { return q_; }
    int Add(int a, int b) const { return add_[static_cast<std::size_t>(a * q_ + b)]; }
    int Sub(int a, int b) const { return Add(a, neg_[static_cast<std::size_t>(b)]); }
    int Mul(int a, int b) const { return mul_[static_cast<std::size_t>(a * q_ + b)]; }
    int Neg(int a) const { return neg_[static_cast<std::size_t>(a)]; }
    int Inv(int a) const { return inv_[static_cast<std::size_t>(a)]; }  // a != 0
    int Pow(int a, int n) const;

private:
    int q_;
    std::vector<uint8_t> add_, mul_, neg_, inv_;
};

}  // namespace combogen::constructions
