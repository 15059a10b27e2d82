// Steiner quadruple systems S(3,4,v): the Boolean ones on 2^n points (the 4-sets whose numbers
// XOR to 0, the planes of AG(n,2)), and the doubling of an SQS(v) to an SQS(2v).
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

int64_t SteinerQuadruples(int v) { return int64_t{v} * (v - 1) * (v - 2) / 24; }

bool BooleanServes(const WheelGoal& g) {
    return g.k == 4 && g.t == 3 && g.v >= 8 && (g.v & (g.v - 1)) == 0;
}

std::optional<int64_t> BooleanSize(const WheelGoal& g, Parts&) {
    return BooleanServes(g) ? std::optional<int64_t>(SteinerQuadruples(g.v)) : std::nullopt;
}

std::optional<Construction> BooleanBuild(const WheelGoal& g, Parts&) {
    if (!BooleanServes(g)) return std::nullopt;
    Construction c{{}, "Boolean Steiner quadruple system (4-sets of XOR 0)"};
    for (int a = 0; a < g.v; ++a)
        for (int b = a + 1; b < g.v; ++b)
            for (int d = b + 1; d < g.v; ++d) {
                const int e = a ^ b ^ d;
                if (e > d)
                    c.lines.push_back({static_cast<uint8_t>(a), static_cast<uint8_t>(b),
                                       static_cast<uint8_t>(d), static_cast<uint8_t>(e)});
            }
    return c;
}

// Whether the rows build a Steiner quadruple system on v points: the Boolean ones, the
// inversive plane of order 3 (v = 10), and doubled ones. Asked of the rows directly, never of
// the table, which asks restriction, which asks this row.
bool HasSystem(int v) {
    if (v >= 4 && (v & (v - 1)) == 0) return true;
    if (v == 10) return true;
    return v >= 8 && v % 2 == 0 && HasSystem(v / 2);
}

std::optional<Construction> System(int v) {
    Parts plain(nullptr);
    const WheelGoal goal{v, 4, 3, 3};
    if (v == 4) return kWholeLineRow.build(goal, plain);
    const Row& row = (v & (v - 1)) == 0 ? kBooleanQuadrupleRow
                     : v == 10          ? kInversivePlaneRow
                                        : kDoubledQuadrupleRow;
    const std::shared_ptr<const Construction> design = BaseDesign(row, goal);
    if (!design) return std::nullopt;
    return *design;
}

std::optional<int64_t> DoubledSize(const WheelGoal& g, Parts&) {
    if (g.k != 4 || g.t != 3 || g.v % 2 != 0 || (g.v & (g.v - 1)) == 0) return std::nullopt;
    if (!HasSystem(g.v / 2)) return std::nullopt;
    return SteinerQuadruples(g.v);
}

std::optional<Construction> DoubledBuild(const WheelGoal& g, Parts& parts) {
    if (!DoubledSize(g, parts)) return std::nullopt;
    const int v = g.v / 2;
    std::optional<Construction> half = System(v);
    if (!half) return std::nullopt;
    Construction c{{},
                   "doubled Steiner quadruple system: two copies of " + half->how +
                       " and pairs of a one-factorization of K" + std::to_string(v)};
    for (const WheelLine& line : half->lines) {
        c.lines.push_back(line);
        WheelLine other = line;
        for (uint8_t& x : other) x = static_cast<uint8_t>(x + v);
        c.lines.push_back(other);
    }
    // The one-factors F_i of K_v, i < v - 1: {i, infinity} and {i - j, i + j} mod v - 1.
    const int n = v - 1;
    for (int i = 0; i < n; ++i) {
        std::vector<std::pair<int, int>> factor{{i, n}};
        for (int j = 1; j <= (n - 1) / 2; ++j) factor.push_back({(i - j + n) % n, (i + j) % n});
        for (const auto& [a, b] : factor)
            for (const auto& [d, e] : factor)
                c.lines.push_back({static_cast<uint8_t>(a), static_cast<uint8_t>(b),
                                   static_cast<uint8_t>(d + v), static_cast<uint8_t>(e + v)});
    }
    return c;
}

}  // namespace

const Row kBooleanQuadrupleRow{"Boolean Steiner quadruple system", true, BooleanSize, BooleanBuild};
const Row kDoubledQuadrupleRow{"doubled Steiner quadruple system", true, DoubledSize, DoubledBuild};

}  // namespace combogen::constructions
