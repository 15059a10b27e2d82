#include "test_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "random/seeding.h"

namespace combogen::testing {

bool ZeroSeed(std::span<uint8_t> bytes) {
    std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    return true;
}

RandomGenerator ZeroSeededGenerator() {
    RandomGenerator g;
    SeedGenerator(g, ZeroSeed);
    return g;
}

TempFolder::TempFolder() {
    const auto base = std::filesystem::temp_directory_path();
    std::random_device entropy;
    do {
        root_ = base / ("combogen-test-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(root_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace combogen::testing
