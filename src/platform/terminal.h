// Whether standard error is a terminal: progress is shown only to a person watching.
#pragma once

#include <cstdint>

namespace combogen {

bool StandardErrorIsTerminal();

// A long search's progress where a page shows it (the web page's progress bar): the lines of
// the best wheel so far, the draws still unmet, and the share of the most work done. Nothing
// elsewhere.
void ShowSearchProgress(int64_t lines, int64_t unmet, double done);

}  // namespace combogen
