// Usable processors on Windows: those of the process's affinity mask.
#include <windows.h>

#include <bitset>

#include "platform/processors.h"

namespace combogen {

int UsableProcessorCount() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) != 0 && process != 0) {
        return static_cast<int>(std::bitset<8 * sizeof process>(process).count());
    }
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

int OtherRunnableThreads() { return 0; }  // Windows keeps no count of ready threads to ask

}  // namespace combogen
