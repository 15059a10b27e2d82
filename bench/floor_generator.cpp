// The floor for the whole-process benchmark: the generator's own work in a run and nothing
// else. The same generator (ISAAC with rotations, 256-word table), seeded, stirred and warmed
// up by 1,000,000 outputs as a run is, then PoolSize - 1 outputs for each of LineCount lines
// (in whole rounds); no draws, no swaps, no text. A plain loop of rounds, as the generator is
// defined. Writes the xor of the outputs to the file, so that no output can be left out.
//
// Usage: floor_generator <LineCount> <PoolSize> <PickCount> <SortOutput> <output file>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

struct Generator {
    uint32_t mm[256], aa, bb, cc;
};

uint32_t Rotl(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }
uint32_t Rotr(uint32_t x, int s) { return (x >> s) | (x << (32 - s)); }

// The round as the generator's authors write it: the state in locals, four steps an iteration,
// the table's two halves in turn. Returns the xor of the outputs, made at once, not stored.
uint32_t Round(Generator& g) {
    uint32_t* const mm = g.mm;
    uint32_t sum = 0;
    uint32_t a = g.aa;
    uint32_t b = g.bb + ++g.cc;
#define STEP(mix, m, m2)                                   \
    {                                                      \
        const uint32_t x = *(m);                           \
        a = (mix) + *(m2);                                 \
        const uint32_t y = (mm[Rotr(x, 2) & 255] + a) ^ b; \
        *(m) = y;                                          \
        b = mm[Rotr(y, 10) & 255] ^ (a + x);               \
        sum ^= b;                                          \
    }
    for (uint32_t *m = mm, *m2 = mm + 128, *end = mm + 128; m < end; m += 4, m2 += 4) {
        STEP(a ^ Rotl(a, 13), m, m2);
        STEP(a ^ Rotr(a, 6), m + 1, m2 + 1);
        STEP(a ^ Rotl(a, 2), m + 2, m2 + 2);
        STEP(a ^ Rotr(a, 16), m + 3, m2 + 3);
    }
    for (uint32_t *m = mm + 128, *m2 = mm, *end = mm + 256; m < end; m += 4, m2 += 4) {
        STEP(a ^ Rotl(a, 13), m, m2);
        STEP(a ^ Rotr(a, 6), m + 1, m2 + 1);
        STEP(a ^ Rotl(a, 2), m + 2, m2 + 2);
        STEP(a ^ Rotr(a, 16), m + 3, m2 + 3);
    }
#undef STEP
    g.aa = a;
    g.bb = b;
    return sum;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s LineCount PoolSize PickCount SortOutput file\n", argv[0]);
        return 2;
    }
    const long long lineCount = std::atoll(argv[1]);
    const int poolSize = std::atoi(argv[2]);
    if (lineCount < 1 || poolSize < 1 || poolSize > 80) {
        std::fprintf(stderr, "bad arguments\n");
        return 2;
    }
    static Generator g;  // aa, bb and cc start at 0: only the table's contents matter here
    std::random_device device;
    for (uint32_t& word : g.mm) word = device();
    uint32_t sum = 0;
    // The seeding round, then whole rounds for the warm-up's and the lines' outputs.
    const long long outputs = 1000000 + lineCount * (poolSize - 1);
    for (long long round = 0; round <= (outputs + 255) / 256; ++round) sum ^= Round(g);
    std::FILE* out = std::fopen(argv[5], "wb");
    if (out == nullptr || std::fwrite(&sum, sizeof sum, 1, out) != 1 || std::fclose(out) != 0) {
        std::perror(argv[5]);
        return 1;
    }
    return 0;
}
