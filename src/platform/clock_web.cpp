// The page's monotonic clock.
#include <emscripten.h>

#include "platform/clock.h"

namespace combogen {

int64_t SteadyMilliseconds() { return static_cast<int64_t>(emscripten_get_now()); }

}  // namespace combogen
