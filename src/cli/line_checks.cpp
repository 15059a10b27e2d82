#include "cli/line_checks.h"

#include "line_checks/draw_check.h"
#include "line_checks/guarantee_report.h"
#include "line_checks/history_report.h"
#include "line_checks/prize_report.h"
#include "line_checks/report_text.h"

namespace combogen {

std::optional<std::string> CheckLines(std::span<const std::string> args, const Options& options,
                                      std::string& error) {
    const char* option = options.checkDraw || options.checkDrawsFile ? "--check"
                         : options.guarantee                         ? "--guarantee"
                                                                     : "--prizes";
    if (args.size() != 1) {
        error = std::string(option) + " takes one FILE of lines after its value, got " +
                Plural(static_cast<int64_t>(args.size()), "argument", "arguments");
        return std::nullopt;
    }
    if (options.checkDraw) return CheckDraw(args[0], *options.checkDraw, error);
    if (options.checkDrawsFile) {
        return CheckPastDraws(*options.checkDrawsFile, args[0], options.checkNotADraw, options.game,
                              error);
    }
    if (options.prizes) {
        return PrizeReportFile(args[0], *options.prizes, options.numbers, error);
    }
    return CheckGuaranteeFile(args[0], options.guarantee->t, options.guarantee->m, options.numbers,
                              error);
}

}  // namespace combogen
