#include "unique/unique_lines.h"

namespace combogen {

namespace {

std::string Grouped(WideCount value) {
    std::string reversed;
    for (int digit = 0; digit == 0 || value != 0; ++digit, value /= 10) {
        if (digit > 0 && digit % 3 == 0) reversed += ',';
        reversed += static_cast<char>('0' + static_cast<int>(value % 10));
    }
    return {reversed.rbegin(), reversed.rend()};
}

WideCount SetBits(const Number* numbers, int k) {
    WideCount bits = 0;
    for (int i = 0; i < k; ++i) bits |= WideCount{1} << (numbers[i] - 1);
    return bits;
}

}  // namespace

std::optional<std::string> UniqueLines::Refusal(const PassingSets& sets, int64_t lineCount,
                                                const std::string& what, WideCount passing) {
    const WideCount total = passing != 0 ? passing : sets.Total();
    if (WideCount(lineCount) > total) {
        return "--unique asks for " + Grouped(lineCount) + " lines, but there are only " +
               Grouped(total) + " different " + what;
    }
    if (sets.Total() > MaxBitmapLines && lineCount > MaxHashedLines) {
        return "--unique allows at most " + Grouped(MaxHashedLines) + " lines when more than " +
               Grouped(MaxBitmapLines) + " different lines are possible";
    }
    return std::nullopt;
}

UniqueLines::UniqueLines(const PassingSets& sets, const ConditionedDraw& draw, int64_t lineCount,
                         bool recheck)
    : sets_(sets),
      draw_(draw),
      k_(sets.Rules().pickCount),
      total_(sets.Total()),
      recheck_(recheck) {
    if (total_ <= MaxBitmapLines) {
        used_.assign(static_cast<std::size_t>(total_ / 64 + 1), 0);
        WideCount offset = 0;
        for (int cls = 0; cls < sets.ClassCount(); ++cls) {
            classOffset_.push_back(offset);
            offset += sets.ClassSize(cls);
        }
    } else {
        std::size_t slots = 16;
        while (slots < 2 * static_cast<std::size_t>(lineCount)) slots *= 2;
        hashed_.assign(slots, 0);
    }
}

bool UniqueLines::MarkNew(const DrawnLine& line) {
    if (!hashed_.empty()) {
        const WideCount bits = SetBits(line.numbers.data(), k_);
        const std::size_t mask = hashed_.size() - 1;
        const uint64_t mixed = static_cast<uint64_t>(bits) ^ static_cast<uint64_t>(bits >> 64);
        std::size_t slot = static_cast<std::size_t>((mixed * 0x9E3779B97F4A7C15u) >> 20) & mask;
        while (hashed_[slot] != 0) {
            if (hashed_[slot] == bits) return false;
            slot = (slot + 1) & mask;
        }
        hashed_[slot] = bits;
        return true;
    }
    int cls = line.cls;
    WideCount rank = line.rank;
    if (!line.ranked) sets_.Rank(line.numbers.data(), cls, rank);
    const std::size_t at = static_cast<std::size_t>(classOffset_[cls] + rank);
    uint64_t& word = used_[at / 64];
    const uint64_t bit = uint64_t{1} << (at % 64);
    if ((word & bit) != 0) return false;
    word |= bit;
    ++usedCount_;
    return true;
}

void UniqueLines::StartList() {
    const int classes = sets_.ClassCount();
    listed_.reserve(static_cast<std::size_t>(total_ - usedCount_));
    WideCount smallestSpace = 0;
    for (int cls = 0; cls < classes; ++cls) {
        segmentStart_.push_back(listed_.size());
        const auto offset = static_cast<std::size_t>(classOffset_[cls]);
        const auto size = static_cast<std::size_t>(sets_.ClassSize(cls));
        for (std::size_t u = 0; u < size; ++u) {
            const std::size_t at = offset + u;
            if ((used_[at / 64] >> (at % 64) & 1) == 0) listed_.push_back(static_cast<uint32_t>(u));
        }
        remaining_.push_back(listed_.size() - segmentStart_.back());
        const WideCount space = sets_.ClassSpace(cls);
        if (smallestSpace == 0 || space < smallestSpace) smallestSpace = space;
    }
    // Each line of a class weighs 1 / ClassSpace, as 2^shift / ClassSpace: at most 2^91, so
    // that a weight times at most 2^24 remaining lines, summed over 81 classes, fits.
    const int shift = 90 + BitWidth(smallestSpace) - 1;
    for (int cls = 0; cls < classes; ++cls) {
        classWeight_.push_back(classes == 1 ? 1 : ScaledRatio(1, sets_.ClassSpace(cls), shift));
    }
    used_ = {};
    listing_ = true;
}

void UniqueLines::Draw(RandomGenerator& g, NumberLists& lists, DrawnLine& line) {
    if (!listing_) {
        do {
            draw_.Draw(g, lists, line);
        } while (!MarkNew(line));
        if (hashed_.empty() && !recheck_ && 8 * usedCount_ >= total_ &&
            total_ - usedCount_ <= MaxListedLines) {
            StartList();
        }
        return;
    }
    int cls = 0;
    if (sets_.ClassCount() > 1) {
        WideCount weight = 0;
        for (std::size_t c = 0; c < remaining_.size(); ++c)
            weight += remaining_[c] * classWeight_[c];
        WideCount u = WideBelow(g, weight);
        for (WideCount w; u >= (w = remaining_[cls] * classWeight_[cls]); ++cls) u -= w;
    }
    const std::size_t start = segmentStart_[cls];
    const auto pick = static_cast<std::size_t>(WideBelow(g, remaining_[cls]));
    const uint32_t rank = listed_[start + pick];
    listed_[start + pick] = listed_[start + --remaining_[cls]];
    draw_.FromRank(g, lists, cls, rank, line);
}

}  // namespace combogen
