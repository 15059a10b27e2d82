// The texts of --help and --version, kept apart from the parsing of the options they list.
#include "cli/options.h"

namespace combogen {

std::string VersionText() { return "combogen " COMBOGEN_VERSION "\n"; }

std::string UsageText() {
    return R"(Usage: combogen [OPTION]... LINES POOL PICK SORT OUTPUT [FIXED-FILE [FIXED-MIN FIXED-MAX]]
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
  --help             show this help and exit
  --version          show the version and exit
  --explain          when the run is rejected, say why on standard error and exit
                     with status 2 instead of stopping silently
  --seed TEXT        seed from TEXT (repeated to fill the 2068-byte seeding image):
                     the same TEXT and arguments give the same file on every platform;
                     not secret
  --seed-file FILE   seed from the first 2068 bytes of FILE
  --save-seed FILE   keep the system's 2068 seeding bytes in FILE (mode 0600), so that
                     --seed-file FILE replays the run
  --unique           no two lines hold the same set of numbers
  --lf               end lines with a line feed alone (for Unix tools)
  --block-size BYTES hand the output over in blocks of BYTES (128 to 1048576; 128 by
                     default); larger blocks are faster
  --bonus K:N        add K numbers from a separate pool 1..N to each line, after " + "
  --sum MIN:MAX      only lines whose numbers add up to MIN..MAX
  --odd MIN:MAX      only lines with MIN..MAX odd numbers
  --max-run R        only lines without a run of more than R consecutive numbers
  --exclude LIST     these numbers never appear (e.g. 13,4)
  --stats FILE       after the run, write statistics of the lines to FILE
  --chart FILE       after the run, draw the count of each number as an SVG chart
                     (for a wheel, both hold its prize table, as --prizes, instead)

Wheels: combogen --wheel T:M [--numbers LIST] LINES POOL PICK SORT OUTPUT [FIXED-FILE]
  --wheel T:M        write the smallest wheel found such that whenever M of the drawn
                     numbers are among the wheeled numbers, some line holds at least T
                     of them; LINES is only the most lines accepted. Known designs
                     first, then a search on every processor (seconds; up to about a
                     minute for the hardest); every line is checked against every draw
                     before it is written, and the lines come in the order that makes
                     each first N of them meet the most draws. With FIXED-FILE every
                     line holds those key numbers too, and the guarantee holds when
                     they are drawn. Filters restrict the lines; --bonus adds random
                     bonus numbers outside the guarantee; --unique changes nothing
                     (lines never repeat); a rejected run says why; --explain (or a
                     terminal) reports the lines, the lower bound and whether the
                     wheel is proven optimal
  --numbers LIST     the numbers to wheel (e.g. 3,8,15,22,31,40,47); all of 1..POOL
                     but the key and excluded numbers by default; with --guarantee or
                     --prizes, the numbers the check is over
  --effort PERCENT   the search's effort, 1 to 100000 percent of its default (100);
                     counted in steps, so the same --seed gives the same wheel anywhere
                     and for any number of processors, within a version (a later version
                     may find a smaller wheel)
  --budget           when the smallest wheel found is longer than LINES, write the LINES
                     lines that meet the most draws instead of refusing, and say on
                     standard error the share of draws they meet

Checks of a file of lines (the report on standard output, status 0):
  --check DRAW FILE  how many lines of FILE match each count of the numbers of DRAW,
                     from the fewer of PICK and DRAW's numbers down to 0
                     ("05 11 23 38 41 49 + 07"; blanks, tabs, commas or semicolons
                     between numbers; the bonus part matches the lines' bonus
                     numbers, or their main numbers when they have none, and then
                     may not repeat a main number), and the best lines.
                     DRAW may be a file of past draws instead: one a line, or CSV
                     (a header, a date column, the numbers in columns of their own
                     or in one); each draw's best line, then totals and the lines
                     that won most
  --game POOL:DRAW   with --check and a file of past draws: DRAW main numbers of
                     1..POOL, +K:N and K bonus numbers of 1..N, +K and K more of
                     1..POOL; a draw without bonus numbers takes its first DRAW as
                     main and the next K as bonus; a draw of another shape is refused
  --guarantee T:M FILE
                     whether FILE's lines give "T if M" over the numbers they use (or
                     --numbers LIST): "met" with the count of draws, or "not met"
                     with the share of draws met and an unmet draw; lines in groups
                     that share no number are counted group by group; refused when
                     the count would take more than about a second; and the lower
                     bound on the lines any such wheel needs
  --prizes POOL:DRAW FILE
                     the exact prize table of FILE's lines in draws of DRAW of 1..POOL:
                     for each count of matched numbers, the draws where a line reaches
                     it and the lines expected (as for as many random lines), then for
                     each count h of drawn numbers among the lines' (or --numbers
                     LIST) the least, average and most lines, and a draw getting the
                     least; refused when counting would take more than a few seconds.
                     POOL:DRAW+K:N adds K bonus numbers of 1..N, matched with the
                     lines' bonus parts (tiers 5+1 ... 0+1); POOL:DRAW+K adds K more
                     of 1..POOL drawn after the main ones, matched with the lines'
                     main numbers (49:6+1: one bonus ball of the 43 left)
All three read lines of up to 1024 characters ended by LF, CR LF or CR.

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
}

}  // namespace combogen
