// One run of combogen: the checks, the seeding, the pool and the output file.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "cli/options.h"
#include "cli/rejection.h"
#include "random/seeding.h"

namespace combogen {

enum class RunEnd {
    Completed,  // every line written and the file closed
    Rejected,   // a silent stop: nothing written, no output file created or changed
    Refused,    // an option cannot be met with these arguments: an error, nothing written
};

// args are the command-line arguments after the program's name: <LineCount> <PoolSize>
// <PickCount> <SortOutput> <output file> [<fixed-number file> [<FixedMin> <FixedMax>]].
// Either ending means exit status 0. A failure that no check anticipates is raised, as
// EInOutError or EConvertError, and nothing here catches it.
RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource);

// The same with options; why, if given, receives the reason for a rejection or a refusal.
RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource,
                   const Options& options, Rejection* why);

// Every check of a run that needs neither the generator nor the output file, in the run's
// order: the first rule broken, or nothing when the run would go ahead as far as these tell.
// A fixed number too large to convert is a rejection here, with the conversion's message.
std::optional<Rejection> CheckArguments(std::span<const std::string> args, const Options& options);

// The seeding image of --seed-file: the file's first 2068 bytes. Nothing, with error saying
// why, when the file cannot be read or is shorter.
std::optional<std::array<uint8_t, SeedImageSize>> ReadSeedFile(const std::string& name,
                                                               std::string& error);

// The program: runs with the system's random source and turns the outcome into an exit
// status, writing the failure report for a failure.
int RunFromCommandLine(int argc, char* argv[]);
// The same, keeping in refusal why a run with options was refused (the page asks for it).
int RunFromCommandLine(int argc, char* argv[], Rejection* refusal);

}  // namespace combogen
