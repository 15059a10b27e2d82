// The tick count on Windows.
#include <windows.h>

#include "platform/clock.h"

namespace combogen {

int64_t SteadyMilliseconds() { return static_cast<int64_t>(GetTickCount64()); }

}  // namespace combogen
