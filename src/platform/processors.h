// How many processors this process may run on.
#pragma once

namespace combogen {

// At least 1. Where the system restricts the process to some processors, only those count.
int UsableProcessorCount();

}  // namespace combogen
