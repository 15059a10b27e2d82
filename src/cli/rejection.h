// Why a run was rejected: the argument or file that broke a rule, in words for people. The plain
// run stops silently; --explain prints the reason, and the web page shows it beside the field.
#pragma once

#include <string>

namespace combogen {

// The part of the command line a rejection concerns.
enum class Field {
    ArgumentCount,
    LineCount,
    PoolSize,
    PickCount,
    Sort,
    Output,
    FixedFile,
    FixedMin,
    FixedMax,
    RandomSource,
    Options,  // an option that cannot be met with these arguments
};

struct Rejection {
    Field field = Field::ArgumentCount;
    std::string message;
};

}  // namespace combogen
