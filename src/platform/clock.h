// A clock that never goes back, for deciding when to show progress; never for a result.
#pragma once

#include <cstdint>

namespace combogen {

int64_t SteadyMilliseconds();

}  // namespace combogen
