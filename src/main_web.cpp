// The web page's entry points into the engine: main, handed the command line as on a
// terminal, and the checks the page runs while the user types.
#include <string>
#include <vector>

#include "cli/check.h"
#include "cli/run.h"

int main(int argc, char* argv[]) { return combogen::RunFromCommandLine(argc, argv); }

namespace {

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

}  // namespace

// args as main's argv without the program's name. Returns "" when the run would go ahead, or
// the field's name, a tab and the reason; the text lives until the next call.
extern "C" const char* combogen_check(int argc, char* argv[]) {
    static std::string answer;
    const std::vector<std::string> args(argv, argv + argc);
    answer.clear();
    try {
        if (const auto rejection = combogen::CheckCommandLine(args)) {
            answer.append(FieldName(rejection->field)).append("\t").append(rejection->message);
        }
    } catch (const std::exception& e) {
        answer.append("Options\t").append(e.what());
    }
    return answer.c_str();
}
