// Every file a run names, so that no run writes over a file it also reads or writes under
// another name. An option with a file adds it in FilesOfRun, with its role.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/options.h"

namespace combogen {

struct NamedFile {
    std::string name;
    const char* role;  // for messages: "the output file"
    bool written;      // false: only read
};

// args are the positional arguments.
std::vector<NamedFile> FilesOfRun(std::span<const std::string> args, const Options& options);

// Two of the files that are one file (or, not there yet, would become one) while at least one
// of them is written.
struct FileClash {
    const NamedFile* written;
    const NamedFile* other;

    // "the statistics file './st.txt' is the output file 'st.txt'"
    std::string Message() const;
};

// The first clash among files, compared pairwise by identity; nothing when there is none.
std::optional<FileClash> FindFileClash(const std::vector<NamedFile>& files);

}  // namespace combogen
