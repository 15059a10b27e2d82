// Projective and affine planes over GF(q): S(2, q+1, q^2+q+1) and S(2, q, q^2).
#include <string>

#include "wheel/constructions/finite_field.h"
#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

// The order q of the plane serving g (points v, lines of k, pairs), or 0.
int ProjectiveOrder(const WheelGoal& g) {
    const int q = g.k - 1;
    return g.t == 2 && q >= 2 && g.v == q * q + q + 1 && PrimePower(q) ? q : 0;
}

std::optional<int64_t> ProjectiveSize(const WheelGoal& g, Parts&) {
    return ProjectiveOrder(g) ? std::optional<int64_t>(g.v) : std::nullopt;
}

std::optional<Construction> ProjectiveBuild(const WheelGoal& g, Parts&) {
    const int q = ProjectiveOrder(g);
    if (!q) return std::nullopt;
    const FiniteField f(q);
    // Points and lines alike: the nonzero vectors of GF(q)^3 whose first nonzero entry is 1.
    struct Vec {
        int x, y, z;
    };
    std::vector<Vec> points;
    for (int y = 0; y < q; ++y)
        for (int z = 0; z < q; ++z) points.push_back({1, y, z});
    for (int z = 0; z < q; ++z) points.push_back({0, 1, z});
    points.push_back({0, 0, 1});
    Construction c{{}, "projective plane of order " + std::to_string(q)};
    for (const Vec& l : points) {
        WheelLine line;
        for (size_t i = 0; i < points.size(); ++i) {
            const Vec& p = points[i];
            if (f.Add(f.Add(f.Mul(l.x, p.x), f.Mul(l.y, p.y)), f.Mul(l.z, p.z)) == 0)
                line.push_back(static_cast<uint8_t>(i));
        }
        c.lines.push_back(line);
    }
    return c;
}

int AffineOrder(const WheelGoal& g) {
    const int q = g.k;
    return g.t == 2 && q >= 2 && g.v == q * q && PrimePower(q) ? q : 0;
}

std::optional<int64_t> AffineSize(const WheelGoal& g, Parts&) {
    const int q = AffineOrder(g);
    return q ? std::optional<int64_t>(q * q + q) : std::nullopt;
}

std::optional<Construction> AffineBuild(const WheelGoal& g, Parts&) {
    const int q = AffineOrder(g);
    if (!q) return std::nullopt;
    const FiniteField f(q);
    // The point (x, y) is x * q + y; the lines y = a x + b, and x = c.
    Construction c{{}, "affine plane of order " + std::to_string(q)};
    for (int a = 0; a < q; ++a)
        for (int b = 0; b < q; ++b) {
            WheelLine line;
            for (int x = 0; x < q; ++x)
                line.push_back(static_cast<uint8_t>(x * q + f.Add(f.Mul(a, x), b)));
            c.lines.push_back(line);
        }
    for (int x = 0; x < q; ++x) {
        WheelLine line;
        for (int y = 0; y < q; ++y) line.push_back(static_cast<uint8_t>(x * q + y));
        c.lines.push_back(line);
    }
    return c;
}

}  // namespace

const Row kProjectivePlaneRow{"projective plane", true, ProjectiveSize, ProjectiveBuild};
const Row kAffinePlaneRow{"affine plane", true, AffineSize, AffineBuild};

}  // namespace combogen::constructions
