#include "platform/command_line.h"

namespace combogen {

namespace {

bool IsSeparator(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

class Cutter {
public:
    Cutter(std::string_view text, LeadBytePredicate isLeadByte)
        : text_(text), isLeadByte_(isLeadByte) {}

    // Separators, and pairs of quotes, before the next argument.
    void SkipToArgument() {
        for (;;) {
            while (at_ < text_.size() && IsSeparator(text_[at_])) ++at_;
            if (text_.substr(at_, 2) != "\"\"") return;
            at_ += 2;
        }
    }

    bool AtEnd() const { return at_ >= text_.size(); }

    std::string NextArgument() {
        std::string argument;
        bool quoted = false;
        while (!AtEnd()) {
            const char c = text_[at_];
            if (c == '"') {
                quoted = !quoted;
                ++at_;
            } else if (!quoted && IsSeparator(c)) {
                break;
            } else {
                TakeCharacter(argument);
            }
        }
        return argument;
    }

private:
    void TakeCharacter(std::string& argument) {
        const std::size_t length =
            isLeadByte_(static_cast<unsigned char>(text_[at_])) && at_ + 1 < text_.size() ? 2 : 1;
        argument.append(text_.substr(at_, length));
        at_ += length;
    }

    std::string_view text_;
    LeadBytePredicate isLeadByte_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text, LeadBytePredicate isLeadByte) {
    Cutter cutter(text, isLeadByte);
    std::vector<std::string> arguments;
    bool programName = true;
    for (cutter.SkipToArgument(); !cutter.AtEnd(); cutter.SkipToArgument()) {
        std::string argument = cutter.NextArgument();
        // Only a lone quote at the very end gives nothing here.
        if (argument.empty()) continue;
        if (programName) {
            programName = false;
        } else {
            arguments.push_back(std::move(argument));
        }
    }
    return arguments;
}

}  // namespace combogen
