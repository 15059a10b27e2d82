// One filter on a line's main numbers, defined once in a file of its own: what the command line
// set, its words for messages, the recheck of a drawn line and what the counts of passing lines
// keep while the numbers are decided one at a time. The counts, the recheck, the descriptions
// and the choice of a way to draw read every filter through its row here.
#pragma once

#include <array>
#include <span>
#include <string>

#include "filters/line_rules.h"

namespace combogen {

struct Filter {
    // How deciding the numbers one at a time keeps track of the filter.
    enum class Kind {
        Total,  // a total of per-number weights within a range
        Run,    // the run of taken numbers ending at the last number decided
        Barred  // numbers that cannot be taken; nothing to keep
    };

    const char* word;  // the option, as "--sum"
    Kind kind;
    // When the counts are too large and only some filters can be counted, lower first are left
    // out of the counts and rechecked instead (-1: always counted, it costs nothing).
    int recheckOrder;
    // When even that fails, the order in which leaving a filter out is advised.
    int adviceOrder;

    // The run's setting: whether it has the filter, leaving it out, copying it to other filters.
    bool (*on)(const LineFilters& filters);
    void (*leaveOut)(LineFilters& filters);
    void (*copy)(const LineFilters& from, LineFilters& to);
    // Its value in the words of the command line, as "21:30".
    std::string (*value)(const LineFilters& filters);
    // Whether k distinct numbers pass it.
    bool (*passes)(const LineFilters& filters, const Number* numbers, int k);
    // Whether every line of k numbers from 1..n passes it.
    bool (*meetsAll)(const LineFilters& filters, int n, int k);

    // Total: the weight that taking v adds, the passing range, and the highest total the
    // counts make room for with k numbers from 1..n.
    int (*weight)(int v) = nullptr;
    CountRange (*range)(const LineFilters& filters) = nullptr;
    int (*highest)(int n, int k) = nullptr;
    // Run: the longest run allowed.
    int (*longest)(const LineFilters& filters) = nullptr;
    // Barred: whether v cannot be taken.
    bool (*barred)(const LineFilters& filters, int v) = nullptr;
};

// A row's setting kept in an optional member of LineFilters.
template <auto Member>
bool IsSet(const LineFilters& filters) {
    return (filters.*Member).has_value();
}
template <auto Member>
void Unset(LineFilters& filters) {
    (filters.*Member).reset();
}
template <auto Member>
void CopySetting(const LineFilters& from, LineFilters& to) {
    to.*Member = from.*Member;
}

// The most filters there can be (Filters().size() is checked against it), so that a new
// filter is its own file and a line in the list alone.
inline constexpr int FilterCount = 8;

// Every filter, in the order of the command line's help and of messages.
std::span<const Filter* const> Filters();

// The filters that are on, found once for a run's many lines: a line then costs a call for
// each of them alone, not the test of every row for whether it is on.
class FilterCheck {
public:
    FilterCheck() = default;  // no filter on
    explicit FilterCheck(const LineFilters& filters);

    bool Any() const { return count_ > 0; }
    // As PassesFilters(filters, numbers, k).
    bool Passes(const Number* numbers, int k) const {
        for (int i = 0; i < count_; ++i) {
            if (!passes_[i](filters_, numbers, k)) return false;
        }
        return true;
    }

private:
    LineFilters filters_;
    std::array<bool (*)(const LineFilters&, const Number*, int), FilterCount> passes_{};
    int count_ = 0;
};

// "--sum 21:30"
std::string Describe(const Filter& filter, const LineFilters& filters);

}  // namespace combogen
