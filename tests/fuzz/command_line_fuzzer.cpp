// Random argument vectors (options, values, "=", "--", positional arguments) through the
// option parser and the run's checks: no crash or sanitizer report, every refusal one line,
// and a vector without options gets the checks of a run without options.
// Input: the arguments, separated by zero bytes. Every '/' becomes '_', so that the files the
// checks read are the few made here in a folder of the fuzzer's own.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/check.h"
#include "cli/options.h"
#include "cli/run.h"
#include "failure/failure.h"

namespace {

using namespace combogen;

void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsOneLine(const std::string& text) {
    return !text.empty() && text.find_first_of("\r\n") == std::string::npos;
}

// b as the run's own checks give it, a as a front end gets it (in one line).
bool SameOutcome(const std::optional<Rejection>& a, const std::optional<Rejection>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->field == b->field && a->message == OneLine(b->message)));
}

// The files the arguments may name: fixed-number lists, a seed image, a short file.
void MakeFolder() {
    const auto folder =
        std::filesystem::temp_directory_path() / ("combogen-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    std::ofstream("f") << "3 5 7\n";
    std::ofstream("g") << "1, 2; 80\r\n";
    std::ofstream("big") << "4 99999999999\n";
    std::ofstream("s") << std::string(2068, 's');
    std::ofstream("short") << "abc";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size > 400) return 0;
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            if (args.size() == 16) break;
            args.emplace_back();
        } else {
            args.back() += data[i] == '/' ? '_' : static_cast<char>(data[i]);
        }
    }

    std::string error;
    const CommandLine line = ParseCommandLine(args, error);

    std::optional<Rejection> checked;
    try {
        checked = CheckCommandLine(args);
    } catch (const Exception&) {
        std::abort();  // the checks say why; nothing is raised
    }
    if (checked) Require(IsOneLine(checked->message));
    if (!error.empty()) Require(checked && checked->field == Field::Options);

    // Without options: the parser takes nothing, and the checks are the plain run's.
    if (!IsOptionWord(args[0])) {
        Require(error.empty() && line.positional == args);
        Require(SameOutcome(checked, CheckArguments(args, Options{})));
    }
    // "--" ends the options: what follows is checked as a run without options.
    if (error.empty() && !line.options.help && !line.options.version &&
        line.options.asGiven.empty()) {
        Require(SameOutcome(checked, CheckArguments(line.positional, Options{})));
    }
    return 0;
}
