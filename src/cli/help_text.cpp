// The texts of --help and --version: the arguments and examples here, each option's lines from
// its row, so that --help cannot leave one out or describe one the parser does not know.
#include "cli/option_table.h"

#ifndef COMBOGEN_VERSION
#define COMBOGEN_VERSION "unknown"
#endif

namespace combogen {

namespace {

constexpr std::string_view Usage =
    R"(Usage: combogen [OPTION]... LINES POOL PICK SORT OUTPUT [FIXED-FILE [FIXED-MIN FIXED-MAX]]
Writes LINES random combinations of PICK distinct numbers from 1..POOL to the file OUTPUT,
one a line, as two-digit labels separated by single spaces, each line ended by CR LF.

Arguments:
  LINES       how many combinations to write, 1 to 2147483647
  POOL        numbers are drawn from 1..POOL, 1 to 80
  PICK        how many numbers a line holds, 1 to POOL
  SORT        1: each line ascending; 0: the numbers in drawn order
  OUTPUT      the file to write; created, or emptied if it exists
  FIXED-FILE  a file whose first non-empty line lists fixed numbers ("3, 17; 42");
              with six arguments every line holds all of them
  FIXED-MIN FIXED-MAX
              with eight arguments every line holds between FIXED-MIN and FIXED-MAX
              of the fixed numbers
Numeric arguments may be hexadecimal after $, x, X, 0x or 0X; quote $ in a shell ('$31').
A rejected run stops silently with status 0 unless --explain is given.

Options (before the arguments; "--" ends them; a value may also follow '='):
)";

constexpr std::string_view WheelHeading = R"(
Wheels: combogen --wheel T:M [--numbers LIST] LINES POOL PICK SORT OUTPUT [FIXED-FILE]
)";

constexpr std::string_view CheckHeading = R"(
Checks of a file of lines (the report on standard output, status 0):
)";

constexpr std::string_view Closing =
    R"(All three read lines of up to 1024 characters ended by LF, CR LF or CR.

Exit status: 0 after a normal end or a silent stop; 1 after a failure report (a failed
write, a fixed number too large to convert); 2 for a bad option, for options the arguments
cannot meet (filters no line passes, more --unique lines than there are, a file an option
cannot write, no wheel within LINES), for a malformed line of a checked file (with its
number) or, with --explain or --wheel, for a rejected run.

Examples:
  combogen 10 49 6 1 numbers.txt                  ten sorted lines of 6 from 1..49
  combogen 10 49 6 1 numbers.txt fixed.txt 1 2    each line holds 1 or 2 fixed numbers
  combogen --explain 10 6 49 1 numbers.txt        says why the run is rejected
  combogen --seed 'my draw' 5 49 6 1 numbers.txt  the same five lines every time
  combogen --unique --lf 1000 49 6 1 numbers.txt  1000 distinct lines, Unix line ends
  combogen --bonus 2:12 --sum 100:150 10 50 5 1 numbers.txt
                                                  5 of 50 plus 2 of 12, sum 100 to 150
  combogen --wheel 3:4 --numbers 3,8,15,22,27,31,36,40,44,47 20 49 6 1 wheel.txt
                                                  3 of the ten in a line if 4 are drawn
  combogen --guarantee 3:4 wheel.txt             checks that guarantee
  combogen --prizes 49:6 wheel.txt                what its lines win, over every draw
  combogen --check "05 11 23 38 41 49 + 07" numbers.txt
)";

// An option's lines: its name and value, then its help from the 22nd column on.
void AddOption(const OptionRow& row, std::string& text) {
    constexpr std::size_t Column = 21;
    std::string head = "  " + std::string(row.name);
    if (!row.value.empty()) head.append(" ").append(row.value);
    head.append(row.operand);
    if (head.size() < Column) {
        head.resize(Column, ' ');
    } else {
        head.append("\n").append(Column, ' ');
    }
    text += head;
    for (const char c : row.help) {
        text += c;
        if (c == '\n') text.append(Column, ' ');
    }
    text += '\n';
}

}  // namespace

std::string VersionText() { return "combogen " COMBOGEN_VERSION "\n"; }

std::string UsageText() {
    std::string text(Usage);
    for (const HelpGroup group : {HelpGroup::Run, HelpGroup::Wheel, HelpGroup::Check}) {
        if (group == HelpGroup::Wheel) text += WheelHeading;
        if (group == HelpGroup::Check) text += CheckHeading;
        for (const OptionRow& row : OptionRows()) {
            if (row.group == group) AddOption(row, text);
        }
    }
    return text += Closing;
}

}  // namespace combogen
