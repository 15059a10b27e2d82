// The web page captures standard error as text: never a terminal. A search's progress goes to
// the worker, which hands it to the page.
#include <emscripten.h>

#include "platform/terminal.h"

namespace combogen {

bool StandardErrorIsTerminal() { return false; }

// clang-format off
EM_JS(void, combogen_search_progress, (double lines, double unmet, double done), {
    if (typeof combogenSearchProgress === 'function') combogenSearchProgress(lines, unmet, done);
});
// clang-format on

void ShowSearchProgress(int64_t lines, int64_t unmet, double done) {
    combogen_search_progress(static_cast<double>(lines), static_cast<double>(unmet), done);
}

}  // namespace combogen
