#include "wheel/constructions/finite_field.h"

#include <gtest/gtest.h>

namespace combogen::constructions {
namespace {

TEST(FiniteFieldTest, EveryPrimePowerUpTo81IsAField) {
    for (const int q : {2, 3, 4, 5, 7, 8, 9, 11, 16, 25, 27, 32, 49, 64, 81}) {
        SCOPED_TRACE(q);
        const FiniteField f(q);
        for (int a = 0; a < q; ++a) {
            EXPECT_EQ(f.Add(a, 0), a);
            EXPECT_EQ(f.Mul(a, 1), a);
            EXPECT_EQ(f.Add(a, f.Neg(a)), 0);
            if (a != 0) {
                EXPECT_EQ(f.Mul(a, f.Inv(a)), 1);
            }
            for (int b = 0; b < q; ++b) {
                EXPECT_EQ(f.Mul(a, b), f.Mul(b, a));
                // Distributive and associative over a few c: enough to catch a wrong modulus.
                for (const int c : {1, 2 % q, q - 1, q / 2}) {
                    ASSERT_EQ(f.Mul(a, f.Add(b, c)), f.Add(f.Mul(a, b), f.Mul(a, c)));
                    ASSERT_EQ(f.Mul(f.Mul(a, b), c), f.Mul(a, f.Mul(b, c)));
                }
            }
        }
        // The multiplicative group is cyclic of order q - 1: some element has that order.
        bool generator = false;
        for (int a = 2; a < q && !generator; ++a) {
            int order = 1;
            for (int x = a; x != 1; x = f.Mul(x, a)) ++order;
            generator = order == q - 1;
        }
        EXPECT_TRUE(generator || q <= 3);
    }
}

}  // namespace
}  // namespace combogen::constructions
