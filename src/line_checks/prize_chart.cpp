#include "line_checks/prize_chart.h"

#include <cstdio>

namespace combogen {

namespace {

constexpr double Width = 1000, Height = 460;
constexpr double Left = 90, Right = 30, Top = 92, Bottom = 58;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Text(double x, double y, const std::string& words, const char* anchor) {
    return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\">" +
           words + "</text>\n";
}

std::string Bar(double x, double y, double width, double height, const char* colour) {
    return "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" + Number(width) +
           "\" height=\"" + Number(height) + "\" fill=\"" + colour + "\"/>\n";
}

}  // namespace

std::string PrizeChart(const PrizeTable& table) {
    const double x0 = Left, x1 = Width - Right, y0 = Height - Bottom, y1 = Top;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(Width) +
                      "\" height=\"" + Number(Height) + "\" viewBox=\"0 0 " + Number(Width) + " " +
                      Number(Height) + "\" font-family=\"sans-serif\" font-size=\"14\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += Text(Width / 2, 32,
                "Draws won: " + std::to_string(table.lines) + " lines of " +
                    std::to_string(table.pick) + " over " + std::to_string(table.v) + " numbers, " +
                    std::to_string(table.draw) + " drawn of 1.." + std::to_string(table.pool),
                "middle");
    svg += Text(Width / 2, 56, "share of draws with a line holding at least so many (exact)",
                "middle");
    for (int percent = 0; percent <= 100; percent += 25) {
        const double y = y0 - (y0 - y1) * percent / 100;
        svg += "<line x1=\"" + Number(x0) + "\" y1=\"" + Number(y) + "\" x2=\"" + Number(x1) +
               "\" y2=\"" + Number(y) + "\" stroke=\"#dadce0\"/>\n";
        svg += Text(x0 - 8, y + 5, std::to_string(percent) + " %", "end");
    }
    const int tiers = table.pick;
    const double slot = (x1 - x0) / tiers, bar = slot * 0.35;
    for (int j = tiers; j >= 1; --j) {
        const double x = x0 + slot * (tiers - j) + slot * 0.15;
        const double wheel = static_cast<double>(table.drawsReaching[table.Tier(j, 0)]) /
                             static_cast<double>(table.draws);
        const double random = static_cast<double>(RandomLinesChance(table, j, 0));
        svg += Bar(x, y0 - (y0 - y1) * wheel, bar, (y0 - y1) * wheel, "#1a73e8");
        svg += Bar(x + bar, y0 - (y0 - y1) * random, bar, (y0 - y1) * random, "#9aa0a6");
        svg += Text(x + bar, y0 + 22, std::to_string(j), "middle");
    }
    svg += Text(Width / 2, Height - 8,
                "numbers matched; blue: these lines, grey: as many random lines", "middle");
    svg += "</svg>\n";
    return svg;
}

}  // namespace combogen
