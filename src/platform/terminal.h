// Whether standard error is a terminal: progress is shown only to a person watching.
#pragma once

namespace combogen {

bool StandardErrorIsTerminal();

}  // namespace combogen
