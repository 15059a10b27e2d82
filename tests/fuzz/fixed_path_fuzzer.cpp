// The fixed-number path of a run from raw file bytes: the real line reading with the file's
// reads cut at sizes of 1..128 bytes, then cleaning, parsing, the checks, the fixed list and
// the pool; and the streamed reading that the run uses, against the whole line's outcome. The
// input's first six bytes choose the settings and the cuts; the rest is the file.
//
// Linked with -Wl,--wrap=read, so that the file layer's read() comes here; the library itself
// is the one the program ships.
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/fixed_run.h"
#include "failure/failure.h"
#include "failure/report.h"
#include "fixed/fixed_line.h"

extern "C" ssize_t __real_read(int fd, void* data, std::size_t count);

namespace {

using namespace combogen;

bool cutting = false;
uint32_t cutState = 0;
int cutReads = 0;  // proves that the file layer's reads do come through here

// The next read size, 1..128.
std::size_t NextCut() {
    cutState ^= cutState << 13;
    cutState ^= cutState >> 17;
    cutState ^= cutState << 5;
    return 1 + cutState % 128;
}

// A folder of its own for the fixed-number file, removed when the fuzzer exits normally. In
// memory where there is a tmpfs: a file rewritten on disk for every input is slow.
struct FixedFile {
    FixedFile() {
        const std::filesystem::path memory = "/dev/shm";
        const std::filesystem::path parent =
            std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path();
        std::string pattern = (parent / "combogen_fixed_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        folder = pattern;
        path = (folder / "fixed.txt").string();
    }
    ~FixedFile() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string path;
};

void WriteFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::abort();
    }
    std::fclose(file);
}

// The first non-empty line by the line rules, read from the whole content at once.
std::string ModelFixedLine(std::string_view bytes) {
    std::size_t at = 0;
    std::string line;
    do {
        line.clear();
        while (at < bytes.size() && bytes[at] != '\n') {
            const char c = bytes[at++];
            if (c == '\x1A') break;
            if (c == '\r') {
                if (at < bytes.size() && bytes[at] == '\n') break;
                continue;
            }
            line += c;
        }
        const std::size_t lineFeed = bytes.find('\n', at);
        at = lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1;
    } while (line.empty() && at < bytes.size());
    return line;
}

// The digit runs of the line, with their values; nothing when a run exceeds 2147483647.
std::optional<std::vector<int>> ModelNumbers(std::string_view line) {
    std::vector<int> numbers;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] < '0' || line[at] > '9') {
            ++at;
            continue;
        }
        uint64_t value = 0;
        for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
            value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(line[at] - '0'),
                                       uint64_t{1} << 40);
        }
        if (value > 2147483647) return std::nullopt;
        numbers.push_back(static_cast<int>(value));
    }
    return numbers;
}

// How many runs there are and the numbers stored, or the report of the
// conversion failure as the user sees it.
std::string Outcome(const std::function<int64_t(NumberList&)>& parse) {
    NumberList numbers{};
    try {
        const int64_t count = parse(numbers);
        return std::to_string(count) + ":" +
               std::string(numbers.begin(),
                           numbers.begin() + std::min<int64_t>(count, NumberCapacity));
    } catch (const EConvertError& e) {
        return FormatReport(e.KindName(), "combogen", 0, e.Message);
    }
}

}  // namespace

extern "C" ssize_t __wrap_read(int fd, void* data, std::size_t count) {
    if (cutting) {
        count = std::min(count, NextCut());
        ++cutReads;
    }
    return __real_read(fd, data, count);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    RunSettings settings;
    settings.PoolSize = 1 + data[0] % 80;
    settings.PickCount = 1 + data[1] % settings.PoolSize;
    const bool allFixed = (data[2] & 1) == 0;
    if (!allFixed) {
        settings.FixedMin = data[3] % settings.PickCount;
        settings.FixedMax = settings.FixedMin + data[4] % (settings.PickCount - settings.FixedMin);
    }
    cutState = 0x9E3779B9u ^ data[5];
    const std::string_view content(reinterpret_cast<const char*>(data + 6), size - 6);

    static const FixedFile file;
    const std::string& path = file.path;
    WriteFile(path, content);
    cutting = true;
    cutReads = 0;
    const std::optional<std::string> line = ReadFixedNumberLine(path);
    cutting = false;
    if (cutReads == 0 || !line || *line != ModelFixedLine(content)) std::abort();

    cutting = true;
    const std::optional<FixedLineSummary> summary = ScanFixedNumberFile(path);
    cutting = false;
    if (!summary || summary->FailedText.size() > ReportCapacity) std::abort();
    const std::string streamed = Outcome([&](NumberList& n) { return TakeNumbers(*summary, n); });
    const std::string whole =
        Outcome([&](NumberList& n) { return ParseNumbers(CleanFixedLine(*line), n); });
    if (streamed != whole) std::abort();

    const std::optional<std::vector<int>> numbers = ModelNumbers(*line);
    NumberLists lists;
    bool admitted = false;
    try {
        admitted = PrepareFixedRun(*line, settings, allFixed, lists);
    } catch (const EConvertError&) {
        if (numbers) std::abort();
        return 0;
    }
    if (!numbers) std::abort();
    if (!admitted) return 0;

    // What the draws rely on.
    const int fixedCount = lists.FixedCount;
    if (fixedCount < 0 || fixedCount > NumberCapacity || fixedCount < settings.FixedMax) {
        std::abort();
    }
    if (allFixed ? fixedCount >= settings.PickCount
                 : settings.PickCount - settings.FixedMin > lists.PoolLength) {
        std::abort();
    }
    // The fixed list: the distinct numbers of the line, ascending, each within 1..PoolSize.
    bool isFixed[NumberCapacity + 1] = {};
    for (int i = 0; i < fixedCount; ++i) {
        const int value = lists.fixed[i];
        if (value < 1 || value > settings.PoolSize || (i > 0 && value <= lists.fixed[i - 1])) {
            std::abort();
        }
        isFixed[value] = true;
    }
    // Every number of the line, at its full value, is one of them.
    for (const int value : *numbers) {
        if (value > settings.PoolSize || !isFixed[value]) std::abort();
    }
    // The pool: the rest of 1..PoolSize, ascending.
    int at = 0;
    for (int value = 1; value <= settings.PoolSize; ++value) {
        if (isFixed[value]) continue;
        if (at >= lists.PoolLength || lists.pool[at++] != value) std::abort();
    }
    if (at != lists.PoolLength) std::abort();
    return 0;
}
