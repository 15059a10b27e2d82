#include "cli/run_files.h"

#include "platform/file_system.h"

namespace combogen {

std::vector<NamedFile> FilesOfRun(std::span<const std::string> args, const Options& options) {
    std::vector<NamedFile> files;
    if (args.size() > 4) files.push_back({args[4], "the output file", true});
    if (args.size() > 5) files.push_back({args[5], "the fixed-number file", false});
    if (options.seedFile) files.push_back({*options.seedFile, "the seed file", false});
    if (options.saveSeed) files.push_back({*options.saveSeed, "the seed file", true});
    if (options.statsFile) files.push_back({*options.statsFile, "the statistics file", true});
    if (options.chartFile) files.push_back({*options.chartFile, "the chart file", true});
    return files;
}

std::string FileClash::Message() const {
    return std::string(written->role) + " '" + written->name + "' is " + other->role + " '" +
           other->name + "'";
}

std::optional<FileClash> FindFileClash(const std::vector<NamedFile>& files) {
    for (std::size_t later = 1; later < files.size(); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            const NamedFile& a = files[later];
            const NamedFile& b = files[earlier];
            // Two files only read lose nothing.
            if (!a.written && !b.written) continue;
            if (SameFileOrNewName(a.name, b.name)) {
                return a.written ? FileClash{&a, &b} : FileClash{&b, &a};
            }
        }
    }
    return std::nullopt;
}

}  // namespace combogen
