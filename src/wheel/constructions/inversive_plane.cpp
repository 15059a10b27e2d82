// Inversive (Moebius) planes S(3, q+1, q^2+1): the points of the projective line over GF(q^2),
// the lines its sublines, the images of the projective line over GF(q) under the Moebius maps.
#include <algorithm>
#include <string>

#include "wheel/constructions/finite_field.h"
#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

int InversiveOrder(const WheelGoal& g) {
    const int q = g.k - 1;
    return g.t == 3 && q >= 2 && g.v == q * q + 1 && PrimePower(q) ? q : 0;
}

std::optional<int64_t> InversiveSize(const WheelGoal& g, Parts&) {
    const int q = InversiveOrder(g);
    return q ? std::optional<int64_t>(q * (q * q + 1)) : std::nullopt;
}

std::optional<Construction> InversiveBuild(const WheelGoal& g, Parts&) {
    const int q = InversiveOrder(g);
    if (!q) return std::nullopt;
    const int Q = q * q;
    const FiniteField f(Q);
    // The points: the elements 0..Q-1 of GF(Q), and infinity as Q. The base line: the
    // subfield GF(q) (the x with x^q = x) and infinity.
    const int inf = Q;
    std::vector<int> base;
    for (int x = 0; x < Q; ++x)
        if (f.Pow(x, q) == x) base.push_back(x);
    base.push_back(inf);
    // Every Moebius map is affine (z -> a z + b) or affine after z -> 1 / (z + d); z -> z + d
    // moves the base line alike for d in one coset of GF(q), so one d per coset is enough.
    std::vector<std::vector<int>> starts{base};
    std::vector<bool> inSub(static_cast<size_t>(Q), false);
    for (const int x : base)
        if (x != inf) inSub[static_cast<size_t>(x)] = true;
    std::vector<int> reps;
    for (int d = 0; d < Q; ++d) {
        bool fresh = true;
        for (const int r : reps) fresh = fresh && !inSub[static_cast<size_t>(f.Sub(d, r))];
        if (!fresh) continue;
        reps.push_back(d);
        std::vector<int> moved;
        for (const int z : base) {
            const int w = z == inf ? inf : f.Add(z, d);
            moved.push_back(w == inf ? 0 : w == 0 ? inf : f.Inv(w));
        }
        starts.push_back(moved);
    }
    using Bits = std::pair<uint64_t, uint64_t>;
    std::vector<Bits> blocks;
    for (const std::vector<int>& start : starts)
        for (int a = 1; a < Q; ++a)
            for (int b = 0; b < Q; ++b) {
                Bits bits{0, 0};
                for (const int z : start) {
                    const int w = z == inf ? inf : f.Add(f.Mul(a, z), b);
                    (w < 64 ? bits.first : bits.second) |= uint64_t{1} << (w % 64);
                }
                blocks.push_back(bits);
            }
    std::sort(blocks.begin(), blocks.end());
    blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
    Construction c{{},
                   "inversive plane of order " + std::to_string(q) + " (sublines of PG(1," +
                       std::to_string(Q) + "))"};
    for (const Bits& bits : blocks) {
        WheelLine line;
        for (int x = 0; x <= Q; ++x)
            if ((x < 64 ? bits.first : bits.second) >> (x % 64) & 1)
                line.push_back(static_cast<uint8_t>(x));
        c.lines.push_back(line);
    }
    return c;
}

}  // namespace

const Row kInversivePlaneRow{"inversive plane", true, InversiveSize, InversiveBuild};

}  // namespace combogen::constructions
