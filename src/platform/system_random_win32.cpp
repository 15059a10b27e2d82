// The random source on Windows: the CryptoAPI, and the performance counter for the fallback.
#include <windows.h>

#include <wincrypt.h>

#include "platform/system_random.h"

namespace combogen {

bool ReadSystemRandom(std::span<uint8_t> bytes) {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
        return false;
    }
    const bool filled =
        CryptGenRandom(provider, static_cast<DWORD>(bytes.size()), bytes.data()) != FALSE;
    CryptReleaseContext(provider, 0);
    return filled;
}

uint32_t FallbackSeed() {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<uint32_t>(counter.LowPart);
    return GetTickCount();
}

}  // namespace combogen
