#include "cli/check.h"

#include "cli/options.h"
#include "cli/run.h"

namespace combogen {

namespace {

std::optional<Rejection> FirstRuleBroken(std::span<const std::string> args) {
    Rejection refusal;
    const CommandLine commandLine = ParseCommandLine(args, refusal);
    if (!refusal.message.empty()) return refusal;
    const Options& options = commandLine.options;
    std::string error;
    if (options.seedFile && !ReadSeedFile(*options.seedFile, error)) {
        return Rejection{Field::Options, error, "--seed-file"};
    }
    if (options.help || options.version) return std::nullopt;
    // A check of a file names the file alone; reading it is the check itself.
    if (options.checkDraw || options.checkDrawsFile || options.guarantee || options.prizes) {
        if (commandLine.positional.size() == 1) return std::nullopt;
        return Rejection{Field::ArgumentCount,
                         std::string(options.checkDraw || options.checkDrawsFile ? "--check"
                                     : options.guarantee                         ? "--guarantee"
                                                                                 : "--prizes") +
                             " takes one FILE of lines after its value"};
    }
    return CheckArguments(commandLine.positional, options);
}

}  // namespace

std::optional<Rejection> CheckCommandLine(std::span<const std::string> args) {
    auto rejection = FirstRuleBroken(args);
    if (rejection) rejection->message = OneLine(rejection->message);
    return rejection;
}

}  // namespace combogen
