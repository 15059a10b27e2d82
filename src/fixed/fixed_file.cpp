#include "fixed/fixed_file.h"

#include "text/text_file.h"

namespace combogen {

std::optional<FixedLineSummary> ReadFixedNumberFile(const std::string& name) {
    InputTextFile file;
    OpenInput(file, name);
    if (TakeIoError() != 0) return std::nullopt;
    FixedLineSummary line;
    bool empty = true;
    do {
        for (std::string_view piece; !(piece = ReadLinePiece(file)).empty(); empty = false) {
            ScanFixedLine(line, piece);
        }
        SkipLine(file);
    } while (empty && !AtEndOfFile(file));
    EndFixedLine(line);
    CloseInput(file);
    // Taken here, before the output file exists, so that a rejected run never empties it.
    if (TakeIoError() != 0) return std::nullopt;
    return line;
}

}  // namespace combogen
