// Steiner triple systems S(2,3,v), v = 1 or 3 mod 6: Bose's construction for v = 3 mod 6 and
// Skolem's for v = 1 mod 6, both on Z_n x Z_3 from a commutative quasigroup of order n.
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

bool Serves(const WheelGoal& g) {
    return g.k == 3 && g.t == 2 && g.v >= 7 && (g.v % 6 == 1 || g.v % 6 == 3);
}

std::optional<int64_t> TripleSize(const WheelGoal& g, Parts&) {
    return Serves(g) ? std::optional<int64_t>(g.v * (g.v - 1) / 6) : std::nullopt;
}

std::optional<Construction> TripleBuild(const WheelGoal& g, Parts&) {
    if (!Serves(g)) return std::nullopt;
    Construction c;
    auto add = [&c](int a, int b, int d) {
        c.lines.push_back(
            {static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(d)});
    };
    if (g.v % 6 == 3) {
        // Bose: n = v/3 odd, x o y = (x + y) (n + 1) / 2 mod n, idempotent; (x, i) is i n + x.
        const int n = g.v / 3;
        auto pt = [n](int x, int i) { return (i % 3) * n + x; };
        for (int x = 0; x < n; ++x) add(pt(x, 0), pt(x, 1), pt(x, 2));
        for (int x = 0; x < n; ++x)
            for (int y = x + 1; y < n; ++y)
                for (int i = 0; i < 3; ++i)
                    add(pt(x, i), pt(y, i), pt((x + y) * (n + 1) / 2 % n, i + 1));
        c.how = "Steiner triple system (Bose construction)";
    } else {
        // Skolem: n = (v - 1) / 3 even, x o y = s((x + y) mod n) with s(2i) = i,
        // s(2i + 1) = n/2 + i, half-idempotent; (x, i) is i n + x, infinity v - 1.
        const int n = (g.v - 1) / 3, h = n / 2, inf = g.v - 1;
        auto pt = [n](int x, int i) { return (i % 3) * n + x; };
        auto op = [n, h](int x, int y) {
            const int s = (x + y) % n;
            return s % 2 == 0 ? s / 2 : h + s / 2;
        };
        for (int x = 0; x < h; ++x) add(pt(x, 0), pt(x, 1), pt(x, 2));
        for (int x = 0; x < h; ++x)
            for (int i = 0; i < 3; ++i) add(inf, pt(x + h, i), pt(x, i + 1));
        for (int x = 0; x < n; ++x)
            for (int y = x + 1; y < n; ++y)
                for (int i = 0; i < 3; ++i) add(pt(x, i), pt(y, i), pt(op(x, y), i + 1));
        c.how = "Steiner triple system (Skolem construction)";
    }
    return c;
}

}  // namespace

const Row kTripleSystemRow{"Steiner triple system", true, TripleSize, TripleBuild};

}  // namespace combogen::constructions
