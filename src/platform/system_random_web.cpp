// The random source in the browser: crypto.getRandomValues, which takes at most 65,536 bytes
// a call; and the page's high-resolution clock for the fallback.
#include <emscripten.h>

#include "platform/system_random.h"

namespace combogen {

namespace {

// 1 when every byte was filled.
EM_JS(int, web_random_fill, (uint8_t * data, std::size_t size), {
    try {
        for (let at = 0; at < size; at += 65536) {
            crypto.getRandomValues(HEAPU8.subarray(data + at, data + Math.min(size, at + 65536)));
        }
        return 1;
    } catch (e) {
        return 0;
    }
});

}  // namespace

bool ReadSystemRandom(std::span<uint8_t> bytes) {
    return web_random_fill(bytes.data(), bytes.size()) == 1;
}

uint32_t FallbackSeed() {
    // Microseconds, so that two runs a moment apart differ.
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now() * 1000.0));
}

}  // namespace combogen
