#include <algorithm>
#include <cmath>

#include "stats/format.h"
#include "stats/report.h"

namespace combogen {

namespace {

constexpr double Never = 1e-12;
constexpr double Width = 1000;
constexpr double MainHeight = 520;
constexpr double BonusHeight = 330;
constexpr double Left = 90, Right = 30, Top = 92, Bottom = 58;  // the plot's margins in a panel

const char* const ExpectedColour = "#b3261e";
const char* const CutColour = "#9aa0a6";

// 1, 2 or 5 times a power of ten, at least rough.
double NiceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) return factor * power;
    }
    return 10.0 * power;
}

// 85106.376 as 85,106.38.
std::string GroupedWithCents(double value) {
    const auto cents = static_cast<uint64_t>(std::llround(value * 100));
    return Grouped(cents / 100) + Formatted(".%02d", static_cast<int>(cents % 100));
}

struct Panel {
    double top;     // of the panel in the picture
    double height;  // of the panel
    std::string title;
    const NumberCounts* counts;
    const NumberSpread* spread;
    const char* barColour;
};

void DrawPanel(std::string& svg, const Panel& panel, uint64_t lines) {
    const NumberSpread& spread = *panel.spread;
    const double l = static_cast<double>(lines);
    const double x0 = Left, x1 = Width - Right;
    const double y0 = panel.top + panel.height - Bottom, y1 = panel.top + Top;
    const double plotWidth = x1 - x0, plotHeight = y0 - y1;

    // The scale leaves out numbers in every line: their bars would flatten all others, so they
    // are cut at the top instead.
    bool anyCut = false;
    double largest = 0;
    for (int v = 1; v <= spread.Size; ++v) {
        const double p = spread.Inclusion(v);
        if (p >= 1.0 - Never) {
            anyCut = true;
            continue;
        }
        largest = std::max({largest, static_cast<double>((*panel.counts)[v]), l * p});
    }
    if (largest <= 0) largest = anyCut ? l : 1;
    const double step = NiceStep(largest * 1.08 / 6);
    const double scaleTop = std::ceil(largest * 1.08 / step) * step;
    auto yOf = [&](double value) { return y0 - std::min(value, scaleTop) / scaleTop * plotHeight; };

    const SpreadTest test = TestCounts(*panel.counts, lines, spread);
    std::string subtitle =
        !spread.Known() ? std::string("the expected counts are unknown for this run")
        : test.degreesOfFreedom == 0
            ? std::string("no number's count can vary, so there is nothing to test")
            : Formatted(
                  "chi-square %.2f, %d degrees of freedom, p-value %.4g%s (a correct run "
                  "gives p &lt; 0.01 once in 100 runs)",
                  test.statistic, test.degreesOfFreedom, test.pValue,
                  test.approximate ? " (approximate)" : "");
    svg += Formatted("<text x=\"%.1f\" y=\"%.1f\" class=\"title\">%s</text>\n", x0, panel.top + 30,
                     panel.title.c_str());
    svg += Formatted("<text x=\"%.1f\" y=\"%.1f\" class=\"subtitle\">%s</text>\n", x0,
                     panel.top + 52, subtitle.c_str());

    // Legend, under the subtitle. When every number that can vary expects the same count, the
    // legend gives it.
    double common = -1;
    bool alike = true;
    for (int v = 1; v <= spread.Size; ++v) {
        const double p = spread.Inclusion(v);
        if (p <= Never || p >= 1.0 - Never) continue;
        if (common >= 0 && std::fabs(common - l * p) > 1e-9 * l) alike = false;
        common = l * p;
    }
    const std::string expectedLabel = alike && common >= 0
                                          ? "expected count, " + GroupedWithCents(common)
                                          : std::string("expected count");
    double legendX = x0;
    const double legendY = panel.top + 74;
    svg += Formatted(
        "<rect x=\"%.1f\" y=\"%.1f\" width=\"14\" height=\"12\" fill=\"%s\"/>"
        "<text x=\"%.1f\" y=\"%.1f\" class=\"legend\">count</text>\n",
        legendX, legendY - 11, panel.barColour, legendX + 20, legendY);
    legendX += 80;
    svg += Formatted(
        "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"expected\"/>"
        "<text x=\"%.1f\" y=\"%.1f\" class=\"legend\">%s</text>\n",
        legendX, legendY - 5, legendX + 28, legendY - 5, legendX + 34, legendY,
        expectedLabel.c_str());
    if (anyCut) {
        legendX += 34 + 8.0 * static_cast<double>(expectedLabel.size()) + 30;
        svg += Formatted(
            "<rect x=\"%.1f\" y=\"%.1f\" width=\"14\" height=\"12\" fill=\"%s\"/>"
            "<text x=\"%.1f\" y=\"%.1f\" class=\"legend\">in every line (bar cut off)</text>\n",
            legendX, legendY - 11, CutColour, legendX + 20, legendY);
    }

    // Grid lines and the count axis.
    for (double value = 0; value <= scaleTop + step / 2; value += step) {
        const double y = yOf(value);
        svg += Formatted(
            "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"grid\"/>"
            "<text x=\"%.1f\" y=\"%.1f\" class=\"tick\" text-anchor=\"end\">%s</text>\n",
            x0, y, x1, y, x0 - 8, y + 4,
            Grouped(static_cast<uint64_t>(std::llround(value))).c_str());
    }
    svg += Formatted(
        "<text transform=\"translate(%.1f %.1f) rotate(-90)\" class=\"axis\" "
        "text-anchor=\"middle\">lines holding the number</text>\n",
        x0 - 62, (y0 + y1) / 2);

    // Bars, each with its numbers on hover.
    const double slot = plotWidth / spread.Size;
    const double barWidth = std::max(1.0, slot * 0.72);
    const int labelEvery = slot >= 17 ? 1 : 5;
    for (int v = 1; v <= spread.Size; ++v) {
        const double p = spread.Inclusion(v);
        const double count = static_cast<double>((*panel.counts)[v]);
        const bool cut = p >= 1.0 - Never;
        const double x = x0 + (v - 1) * slot + (slot - barWidth) / 2;
        const double y = cut ? y1 : yOf(count);
        svg += Formatted(
            "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"%s\">"
            "<title>%02d: %s lines, expected %.2f</title></rect>\n",
            x, y, barWidth, y0 - y, cut ? CutColour : panel.barColour, v,
            std::to_string((*panel.counts)[v]).c_str(), l * p);
        if (cut) {
            // A white gap across the bar shows that it goes on above the scale.
            svg += Formatted("<path d=\"M%.2f %.2f l%.2f -6 v5 l%.2f 6 z\" fill=\"white\"/>\n",
                             x - 1, y1 + 16, barWidth + 2, -(barWidth + 2));
        }
        if (v == 1 || v % labelEvery == 0) {
            svg += Formatted(
                "<text x=\"%.2f\" y=\"%.1f\" class=\"tick\" text-anchor=\"middle\">%d</text>\n",
                x0 + (v - 0.5) * slot, y0 + 16, v);
        }
    }

    // The expected count over each bar's slot; where neighbours expect the same the segments
    // join into one line.
    std::string path;
    for (int v = 1; v <= spread.Size; ++v) {
        const double expected = l * spread.Inclusion(v);
        if (spread.Inclusion(v) >= 1.0 - Never) continue;
        path += Formatted("M%.2f %.2fH%.2f", x0 + (v - 1) * slot, yOf(expected), x0 + v * slot);
    }
    if (!path.empty() && spread.Known()) {
        svg += "<path d=\"" + path + "\" class=\"expected\"/>\n";
    }

    svg += Formatted(
        "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"axisline\"/>"
        "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"axisline\"/>\n",
        x0, y0, x1, y0, x0, y0, x0, y1);
    svg += Formatted(
        "<text x=\"%.1f\" y=\"%.1f\" class=\"axis\" text-anchor=\"middle\">number</text>\n",
        (x0 + x1) / 2, y0 + 40);
}

}  // namespace

std::string CountChart(const LineTally& tally, const ExpectedSpread& spread) {
    const bool bonus = spread.bonus.Size > 0;
    const double height = MainHeight + (bonus ? BonusHeight : 0);
    std::string svg = Formatted(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
        "viewBox=\"0 0 %.0f %.0f\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n",
        Width, height, Width, height);
    svg += Formatted(
        "<style>\n"
        ".title { font-size: 19px; font-weight: bold; fill: #202124 }\n"
        ".subtitle { font-size: 14px; fill: #3c4043 }\n"
        ".legend, .axis { font-size: 13px; fill: #3c4043 }\n"
        ".tick { font-size: 11px; fill: #5f6368 }\n"
        ".grid { stroke: #e3e3e3; stroke-width: 1 }\n"
        ".axisline { stroke: #5f6368; stroke-width: 1.2 }\n"
        ".expected { stroke: %s; stroke-width: 2.2; stroke-dasharray: 7 4; fill: none }\n"
        "</style>\n"
        "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
        ExpectedColour);

    const uint64_t lines = tally.Lines();
    const std::string lineWord = lines == 1 ? " line" : " lines";
    DrawPanel(svg,
              Panel{0, MainHeight,
                    Formatted("How often each number came up in %s%s (%d a line from 1..%d)",
                              Grouped(lines).c_str(), lineWord.c_str(), spread.main.Pick,
                              spread.main.Size),
                    &tally.MainCounts(), &spread.main, "#3d6fb6"},
              lines);
    if (bonus) {
        DrawPanel(svg,
                  Panel{MainHeight, BonusHeight,
                        Formatted("Bonus numbers (%d a line from 1..%d)", spread.bonus.Pick,
                                  spread.bonus.Size),
                        &tally.BonusCounts(), &spread.bonus, "#d9822b"},
                  lines);
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace combogen
