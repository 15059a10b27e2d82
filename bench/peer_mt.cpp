// A plain C++ peer for the whole-process benchmark: the same five-argument run written the
// obvious way, with the standard library's 64-bit Mersenne Twister, a partial shuffle per line
// and one 64 KiB output buffer.
//
// Usage: peer_mt <LineCount> <PoolSize> <PickCount> <SortOutput> <output file>
// Lines are two-digit numbers joined by single blanks and ended by CR LF, as combogen writes them.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s LineCount PoolSize PickCount SortOutput file\n", argv[0]);
        return 2;
    }
    const long lineCount = std::atol(argv[1]);
    const int poolSize = std::atoi(argv[2]);
    const int pickCount = std::atoi(argv[3]);
    const bool sortOutput = std::atoi(argv[4]) == 1;
    if (lineCount < 1 || poolSize < 1 || poolSize > 99 || pickCount < 1 || pickCount > poolSize) {
        std::fprintf(stderr, "bad arguments\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[5], "wb");
    if (out == nullptr) {
        std::perror(argv[5]);
        return 1;
    }
    std::setvbuf(out, nullptr, _IONBF, 0);  // the program's own buffer is the only one

    std::random_device device;
    std::mt19937_64 engine(device());

    std::vector<int> pool(poolSize);
    std::iota(pool.begin(), pool.end(), 1);
    std::vector<std::array<char, 2>> labels(poolSize + 1);
    for (int v = 0; v <= poolSize; ++v) labels[v] = {char('0' + v / 10), char('0' + v % 10)};

    std::vector<char> buffer(64 * 1024);
    std::size_t used = 0;
    std::vector<int> picked(pickCount);
    std::vector<char> line(3 * pickCount + 1);

    for (long i = 0; i < lineCount; ++i) {
        // The first pickCount entries become a random selection of the pool.
        for (int j = 0; j < pickCount; ++j) {
            std::uniform_int_distribution<int> draw(j, poolSize - 1);
            std::swap(pool[j], pool[draw(engine)]);
        }
        std::copy_n(pool.begin(), pickCount, picked.begin());
        if (sortOutput) std::sort(picked.begin(), picked.end());

        char* p = line.data();
        for (const int v : picked) {
            std::memcpy(p, labels[v].data(), 2);
            p[2] = ' ';
            p += 3;
        }
        p[-1] = '\r';
        *p++ = '\n';
        const std::size_t length = p - line.data();

        if (used + length > buffer.size()) {
            if (std::fwrite(buffer.data(), 1, used, out) != used) break;
            used = 0;
        }
        std::memcpy(buffer.data() + used, line.data(), length);
        used += length;
    }
    const bool written = std::fwrite(buffer.data(), 1, used, out) == used;
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[5]);
        return 1;
    }
    return 0;
}
