// One run of combogen: the checks, the seeding, the pool and the output file.
#pragma once

#include <span>
#include <string>

#include "random/seeding.h"

namespace combogen {

enum class RunEnd {
    Completed,  // every line written and the file closed
    Rejected,   // a silent stop: nothing written, no output file created or changed
};

// args are the command-line arguments after the program's name: <LineCount> <PoolSize>
// <PickCount> <SortOutput> <output file> [<fixed-number file> [<FixedMin> <FixedMax>]].
// Either ending means exit status 0. A failure that no check anticipates is raised, as
// EInOutError or EConvertError, and nothing here catches it.
RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource);

// The program: runs with the system's random source and turns the outcome into an exit
// status, writing the failure report for a failure.
int RunFromCommandLine(int argc, char* argv[]);

}  // namespace combogen
