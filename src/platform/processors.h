// How many processors this process may run on.
#pragma once

namespace combogen {

// At least 1. Where the system restricts the process to some processors, only those count.
int UsableProcessorCount();

// How many threads besides the caller are ready to run, as far as the system says (on Linux, from
// /proc/loadavg): the fewest seen in up to eight looks 0.1 ms apart, so that a thread that runs
// for a moment (the parent that has just started this process, a kernel worker) is not counted;
// 0 where the system does not say.
int OtherRunnableThreads();

}  // namespace combogen
