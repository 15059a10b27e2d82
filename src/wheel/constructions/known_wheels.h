// A table of known constructions for wheels: general algebraic and combinatorial methods, each a
// row of the table (constructions/table.h, one file per family), the smallest result kept:
//   trivial.cpp            one line of all numbers; "1 if m"; every k-set (t = k)
//   golay.cpp              S(5,8,24), S(4,7,23), S(3,6,22), S(5,6,12), S(4,5,11) (Golay codes)
//   planes.cpp             projective planes S(2,q+1,q^2+q+1), affine planes S(2,q,q^2)
//   inversive_plane.cpp    inversive planes S(3,q+1,q^2+1)
//   triple_systems.cpp     Steiner triple systems (Bose, Skolem)
//   quadruple_systems.cpp  Steiner quadruple systems (Boolean, doubling)
//   inflation.cpp          groups of numbers as the points of a smaller covering
//   restriction.cpp        a design on more numbers cut down
//   extension.cpp          one-point extension C(v,k,t) <= C(v-1,k,t) + C(v-1,k-1,t-1)
//   group_union.cpp        "t if m" as a union of wheels on groups of the numbers
//   fewer_drawn.cpp        a wheel for "t if m-1" serves "t if m"
//   longer_lines.cpp       a Steiner system with shorter lines, its lines filled up
// To add a family: its file with a Row, declared in table.h and listed in Rows().
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "wheel/goal.h"

namespace combogen {

struct Construction {
    std::vector<WheelLine> lines;  // distinct, each k ascending numbers in 0..v-1, sorted
    std::string how;               // a short plain description of the method
};

// A search for a part the table cannot build well (the wheel search); may be empty. Returns
// lines meeting the part's goal, or nothing.
using PartSearch = std::function<std::optional<std::vector<WheelLine>>(const WheelGoal&)>;

// The smallest wheel the table can build for goal, or nothing where no row serves (or its
// wheel would exceed KnownWheelMaxLines). Deterministic. With a search, the rows that build from
// parts may search some: a covering part (t = m) the table has no wheel for, or builds only
// above 1.1 times its Schoenheim bound, and in a union over groups, a group "t if m_i" with
// t < m_i (costed at twice its counting bound). The whole goal is never searched, each part at
// most once per call; a search's wheel is kept only where it is no larger than the table's for
// the part, and the result is never larger than without the search.
std::optional<Construction> BuildKnownWheel(const WheelGoal& goal, const PartSearch& search = {});

// The size BuildKnownWheel gives without search, computed without building lines where the size
// follows from the method (memoized); nothing where it gives nothing.
std::optional<int64_t> KnownWheelSize(const WheelGoal& goal);

// No row builds a wheel of more lines than this.
inline constexpr int64_t KnownWheelMaxLines = 50'000;

}  // namespace combogen
