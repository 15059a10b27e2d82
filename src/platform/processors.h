// How many processors this process may run on.
#pragma once

namespace combogen {

// At least 1. Where the system restricts the process to some processors, only those count.
int UsableProcessorCount();

// How many threads besides the caller are ready to run at this moment, as far as the system says
// (on Linux, from /proc/loadavg); 0 where it does not say.
int OtherRunnableThreads();

}  // namespace combogen
