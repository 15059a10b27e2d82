#include "line_checks/draw_file.h"

#include <algorithm>
#include <array>

#include "platform/file_system.h"
#include "text/number_lines.h"
#include "text/text_file.h"

namespace combogen {

namespace {

// Operators' files add columns (jackpots, winners by tier), so lines run longer than lines of
// numbers.
constexpr std::size_t LongestDrawLine = 4096;

enum class Column { Ignored, Date, Main, Bonus, Several };

std::string Lower(std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

bool Has(const std::string& text, const char* word) { return text.find(word) != text.npos; }

// What a column holds, from its header.
Column Kind(const std::string& header) {
    const std::string h = Lower(header);
    if (Has(h, "date")) return Column::Date;
    if (Has(h, "winning numbers") || Has(h, "numbers drawn") || h == "numbers") {
        return Column::Several;
    }
    if (Has(h, "bonus") || Has(h, "powerball") || Has(h, "mega") || Has(h, "lucky") ||
        Has(h, "star")) {
        return Column::Bonus;
    }
    // "Draw Number", "DrawID", "Ball Set", "Machine", "Multiplier", "Jackpot", "Winners".
    for (const char* other :
         {"draw", "id", "set", "machine", "multiplier", "jackpot", "winner", "prize"}) {
        if (Has(h, other)) return Column::Ignored;
    }
    const bool numbered = h.size() >= 2 && h[0] == 'n' && h[1] >= '0' && h[1] <= '9';
    return Has(h, "ball") || Has(h, "number") || numbered ? Column::Main : Column::Ignored;
}

// The fields of a CSV line; a quoted field may hold the separator and "" for a quote.
std::vector<std::string> Fields(const std::string& line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == text.npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct Layout {
    char separator = 0;
    std::vector<Column> columns;
};

// The separator that the header holds most of, outside quotes, and what each column holds.
std::optional<Layout> ReadHeader(const std::string& header) {
    Layout layout;
    std::size_t most = 0;
    for (const char separator : {',', ';', '\t'}) {
        const std::size_t count = Fields(header, separator).size() - 1;
        if (count > most) {
            most = count;
            layout.separator = separator;
        }
    }
    if (most == 0) return std::nullopt;
    bool numbers = false;
    for (const std::string& field : Fields(header, layout.separator)) {
        layout.columns.push_back(Kind(Trimmed(field)));
        numbers = numbers || layout.columns.back() == Column::Main ||
                  layout.columns.back() == Column::Several;
    }
    if (!numbers) return std::nullopt;
    return layout;
}

// Numbers separated by blanks, each from 1 to 80; repeats are judged once main and bonus
// numbers are told apart (a second pool's ball may repeat a main number).
std::optional<std::string> Numbers(const std::string& text, std::vector<uint8_t>& numbers) {
    std::size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != text.npos) {
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        NumberLine one;
        if (auto wrong = ParseNumberLine(text.substr(at, end - at), one)) return wrong;
        if (one.main.size() != 1 || !one.bonus.empty()) {
            std::string quoted(1, '\'');
            return quoted.append(text, at, end - at).append("' is not a number");
        }
        numbers.push_back(one.main[0]);
        at = end;
    }
    return std::nullopt;
}

std::optional<std::string> ReadCsvDraw(const std::string& line, const Layout& layout,
                                       PastDraw& draw) {
    const std::vector<std::string> fields = Fields(line, layout.separator);
    if (fields.size() < layout.columns.size()) {
        return std::to_string(fields.size()) + " fields where the header has " +
               std::to_string(layout.columns.size());
    }
    std::string main, bonus;
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        const std::string field = Trimmed(fields[i]);
        switch (layout.columns[i]) {
            case Column::Date: draw.date = field; break;
            case Column::Main:
            case Column::Several:
                if (field.empty()) return std::string("a number is missing");
                main.append(1, ' ').append(field);
                draw.shapeUnknown = draw.shapeUnknown || layout.columns[i] == Column::Several;
                break;
            case Column::Bonus:
                if (!field.empty()) bonus.append(1, ' ').append(field);
                break;
            case Column::Ignored: break;
        }
    }
    if (auto wrong = Numbers(main, draw.numbers)) return wrong;
    return Numbers(bonus, draw.bonus);
}

}  // namespace

std::optional<std::string> ReadDrawFile(const std::string& name, std::vector<PastDraw>& draws) {
    InputTextFile file;
    file.anyLineEnd = true;
    OpenInput(file, name);
    if (const int32_t code = TakeIoError(); code != 0) {
        return "cannot open '" + name + "': " + SystemErrorText(code);
    }
    std::optional<std::string> wrong;
    std::optional<Layout> layout;
    bool first = true;
    std::string text;
    for (int64_t number = 1; !wrong && !AtEndOfFile(file); ++number) {
        const bool tooLong = !ReadBoundedLine(file, LongestDrawLine, text);
        const auto at = [&](const std::string& what) {
            return "'" + name + "' line " + std::to_string(number) + ": " + what;
        };
        if (tooLong) {
            wrong = at("longer than " + std::to_string(LongestDrawLine) + " characters");
            continue;
        }
        if (text.find_first_not_of(" \t") == std::string::npos) continue;
        PastDraw draw;
        draw.lineNumber = number;
        if (first) {
            first = false;
            NumberLine line;
            if (!ParseNumberLine(text, line)) {
                draw.numbers = line.main;
                draw.bonus = line.bonus;
                draw.shapeUnknown = line.bonus.empty();
                draws.push_back(std::move(draw));
                continue;
            }
            layout = ReadHeader(text);
            if (!layout) {
                wrong = "'" + name +
                        "' is not a file of draws: expected a draw a line (\"05 11 23 38 41 49 + "
                        "07\") or a CSV header naming the drawn numbers' columns (\"Ball 1\", "
                        "\"Winning Numbers\")";
            }
            continue;
        }
        if (layout) {
            if (auto bad = ReadCsvDraw(text, *layout, draw)) wrong = at(*bad);
        } else {
            NumberLine line;
            if (auto bad = ParseNumberLine(text, line)) wrong = at(*bad);
            draw.numbers = line.main;
            draw.bonus = line.bonus;
            draw.shapeUnknown = line.bonus.empty();
        }
        if (!wrong) draws.push_back(std::move(draw));
    }
    const int32_t code = TakeIoError();
    CloseInput(file);
    TakeIoError();  // a file only read loses nothing when its closing fails
    if (code != 0) return "cannot read '" + name + "': " + SystemErrorText(code);
    if (wrong) return wrong;
    if (draws.empty()) return "'" + name + "' holds no draws";
    return std::nullopt;
}

std::optional<std::string> SplitDraw(const PastDraw& draw, std::size_t pick, std::size_t bonusCount,
                                     std::vector<uint8_t>& main, std::vector<uint8_t>& bonus) {
    main = draw.numbers;
    bonus = draw.bonus;
    if (draw.shapeUnknown && bonus.empty() && bonusCount > 0 && main.size() == pick + bonusCount) {
        bonus.assign(main.end() - static_cast<std::ptrdiff_t>(bonusCount), main.end());
        main.resize(pick);
    }
    std::array<bool, 81> seen{};
    for (const uint8_t x : main) {
        if (seen[x]) return std::to_string(x) + " appears twice";
        seen[x] = true;
    }
    // Lines without a bonus part play one pool: a bonus number is one more ball of it.
    for (const uint8_t x : bonus) {
        if (bonusCount == 0 && std::find(main.begin(), main.end(), x) != main.end()) {
            return std::to_string(x) + " is both a main and a bonus number";
        }
    }
    return std::nullopt;
}

std::optional<std::string> SplitGameDraw(const PastDraw& draw, const PrizeGame& game,
                                         std::vector<uint8_t>& main, std::vector<uint8_t>& bonus) {
    main = draw.numbers;
    bonus = draw.bonus;
    const auto draws = static_cast<std::size_t>(game.draw);
    const auto more = static_cast<std::size_t>(game.bonusDraw);
    if (bonus.empty() && main.size() == draws + more) {
        bonus.assign(main.begin() + static_cast<std::ptrdiff_t>(draws), main.end());
        main.resize(draws);
    }
    if (main.size() != draws || bonus.size() != more) {
        const auto shape = [](std::size_t m, std::size_t b) {
            return std::to_string(m) + (b > 0 ? " + " + std::to_string(b) : std::string());
        };
        return shape(main.size(), bonus.size()) + " numbers where --game " + GameText(game) +
               " draws " + shape(draws, more);
    }
    const int bonusPool = game.samePool ? game.pool : game.bonusPool;
    std::array<bool, 81> seen{}, seenBonus{};
    for (const uint8_t x : main) {
        if (x > game.pool) return std::to_string(x) + " is outside 1.." + std::to_string(game.pool);
        if (seen[x]) return std::to_string(x) + " appears twice";
        seen[x] = true;
    }
    // Bonus numbers of the same pool are drawn from the balls the main draw left.
    for (const uint8_t x : bonus) {
        if (x > bonusPool) {
            return "bonus number " + std::to_string(x) + " is outside 1.." +
                   std::to_string(bonusPool);
        }
        if (game.samePool && seen[x]) {
            return std::to_string(x) + " is both a main and a bonus number";
        }
        if (seenBonus[x]) return std::to_string(x) + " appears twice";
        seenBonus[x] = true;
    }
    return std::nullopt;
}

}  // namespace combogen
