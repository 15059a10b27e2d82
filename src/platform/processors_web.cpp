// The page's engine runs in one worker without threads of its own: one processor.
#include "platform/processors.h"

namespace combogen {

int UsableProcessorCount() { return 1; }

int OtherRunnableThreads() { return 0; }

}  // namespace combogen
