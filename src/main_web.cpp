// The web page's entry points into the engine: main, handed the command line as on a
// terminal, and the checks the page runs while the user types. A refusal reaches the page as a
// value (JSON: the field, the option and its field on the page, the rule and its values) that
// the page says in its own words; message is the command line's.
#include <string>
#include <vector>

#include "cli/check.h"
#include "cli/option_table.h"
#include "cli/run.h"

namespace {

combogen::Rejection lastRefusal;

const char* FieldName(combogen::Field field) {
    using combogen::Field;
    switch (field) {
        case Field::ArgumentCount: return "ArgumentCount";
        case Field::LineCount: return "LineCount";
        case Field::PoolSize: return "PoolSize";
        case Field::PickCount: return "PickCount";
        case Field::Sort: return "Sort";
        case Field::Output: return "Output";
        case Field::FixedFile: return "FixedFile";
        case Field::FixedMin: return "FixedMin";
        case Field::FixedMax: return "FixedMax";
        case Field::RandomSource: return "RandomSource";
        case Field::Options: return "Options";
    }
    return "Options";
}

const char* RuleName(combogen::Rule rule) {
    using combogen::Rule;
    switch (rule) {
        case Rule::Other: return "";
        case Rule::Unknown: return "unknown";
        case Rule::GivenTwice: return "given-twice";
        case Rule::TakesNoValue: return "takes-no-value";
        case Rule::NeedsValue: return "needs-value";
        case Rule::Empty: return "empty";
        case Rule::Malformed: return "malformed";
        case Rule::NotInRange: return "not-in-range";
        case Rule::Outside: return "outside";
        case Rule::Reversed: return "reversed";
        case Rule::NotInPool: return "not-in-pool";
        case Rule::NoNumber: return "no-number";
        case Rule::NotTogether: return "not-together";
        case Rule::NotWith: return "not-with";
        case Rule::SystemSeedOnly: return "system-seed-only";
        case Rule::Needs: return "needs";
        case Rule::NotEnoughLeft: return "not-enough-left";
        case Rule::TooMany: return "too-many";
        case Rule::Below: return "below";
        case Rule::Above: return "above";
    }
    return "";
}

std::string Json(std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json.append(1, '\\').append(1, c);
        } else if (byte < 0x20) {
            json.append("\\u00").append(1, Hex[byte >> 4]).append(1, Hex[byte & 15]);
        } else {
            json += c;
        }
    }
    return json += '"';
}

std::string RefusalJson(const combogen::Rejection& why) {
    const combogen::OptionRow* row =
        why.subject.starts_with("--") ? combogen::FindOption(why.subject) : nullptr;
    std::string json = "{\"field\":" + Json(FieldName(why.field)) +
                       ",\"message\":" + Json(combogen::OneLine(why.message)) +
                       ",\"option\":" + Json(why.subject) +
                       ",\"pageField\":" + Json(row ? row->pageField : "") +
                       ",\"label\":" + Json(row ? row->pageLabel : "") +
                       ",\"rule\":" + Json(RuleName(why.rule)) + ",\"values\":[";
    for (std::size_t i = 0; i < why.values.size(); ++i) {
        json += (i > 0 ? "," : "") + Json(why.values[i]);
    }
    return json += "]}";
}

}  // namespace

int main(int argc, char* argv[]) {
    lastRefusal = {};
    return combogen::RunFromCommandLine(argc, argv, &lastRefusal);
}

// Why the last run ended with status 2, as JSON; "" when it did not.
extern "C" const char* combogen_refusal() {
    static std::string answer;
    answer = lastRefusal.message.empty() ? "" : RefusalJson(lastRefusal);
    return answer.c_str();
}

// args as main's argv without the program's name. Returns "" when the run would go ahead, or
// the first rule it breaks as JSON; the text lives until the next call.
extern "C" const char* combogen_check(int argc, char* argv[]) {
    static std::string answer;
    const std::vector<std::string> args(argv, argv + argc);
    answer.clear();
    try {
        if (const auto rejection = combogen::CheckCommandLine(args)) {
            answer = RefusalJson(*rejection);
        }
    } catch (const std::exception& e) {
        answer = RefusalJson(combogen::Rejection(combogen::Field::Options, e.what()));
    }
    return answer.c_str();
}
