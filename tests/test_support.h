// Helpers shared by the unit tests.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "random/generator.h"

namespace combogen::testing {

// A seed source that delivers 2068 zero bytes.
bool ZeroSeed(std::span<uint8_t> bytes);

// A generator seeded from ZeroSeed: the state the documented vectors start from.
RandomGenerator ZeroSeededGenerator();

// A fresh, empty folder for one test, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Path(const std::string& name) const { return (root_ / name).string(); }

private:
    std::filesystem::path root_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Lines joined with carriage return and line feed after each.
std::string CrLfLines(const std::vector<std::string>& lines);

}  // namespace combogen::testing
