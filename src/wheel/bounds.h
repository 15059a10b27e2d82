// Lower bounds on the lines of a wheel: no wheel for the goal has fewer.
#pragma once

#include <cstdint>

#include "wheel/goal.h"

namespace combogen {

// Which argument gives the bound, for naming it.
enum class BoundKind {
    Schoenheim,  // m = t
    DeCaen,      // m = t: (t+1)(v-t) / ((k+1)(v-k)) * C(v,t) / C(k,t), at times above Schoenheim
    Counting,    // C(v,m) over the m-sets one line meets in t or more numbers
    Union,       // the numbers the lines must use, over k
};

struct WheelBound {
    int64_t lines = 0;  // saturates at INT64_MAX
    BoundKind kind = BoundKind::Schoenheim;
};

// "Schoenheim bound", "de Caen bound", "counting bound", "union bound".
const char* BoundName(BoundKind kind);

// m = t: Schoenheim's L(v,k,t) = ceil(v/k * L(v-1,k-1,t-1)), L(.,.,0) = 1. t < m: the larger of
// the counting bound, C(v,m) over the m-sets one line meets in t or more, and the union bound
// ceil((v-m+t)/k) (fewer numbers used would let m-t+1 unused and t-1 used numbers be drawn).
WheelBound WheelLowerBound(const WheelGoal& goal);

}  // namespace combogen
