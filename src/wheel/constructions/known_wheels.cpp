#include "wheel/constructions/known_wheels.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "combination/number_list.h"
#include "wheel/bounds.h"
#include "wheel/constructions/table.h"

namespace combogen {
namespace constructions {

std::span<const Row> Rows() {
    // Consulted in order; a later row is taken only when strictly smaller, so the plainer
    // method names a wheel several rows build at one size.
    static const Row rows[] = {
        kWholeLineRow,        kOneIfMRow,           kAllKSetsRow,       kGolayRow,
        kProjectivePlaneRow,  kAffinePlaneRow,      kInversivePlaneRow, kTripleSystemRow,
        kBooleanQuadrupleRow, kDoubledQuadrupleRow, kInflationRow,      kRestrictionRow,
        kExtensionRow,        kGroupUnionRow,       kFewerDrawnRow,     kLongerLinesRow};
    return rows;
}

namespace {

struct Best {
    std::optional<int64_t> size;
    int row = -1;
};

// The best row and its size for each goal, with and without a search: the same for every
// caller, since a search's parts are costed by their estimates, not by what the search finds.
class Memo {
public:
    std::optional<Best> Find(const WheelGoal& g, bool searching) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = best_.find(Key(g, searching));
        if (it == best_.end()) return std::nullopt;
        return it->second;
    }
    void Put(const WheelGoal& g, bool searching, const Best& best) {
        std::lock_guard<std::mutex> lock(mutex_);
        best_.emplace(Key(g, searching), best);
    }

private:
    using KeyType = std::tuple<int, int, int, int, bool>;
    static KeyType Key(const WheelGoal& g, bool s) { return {g.v, g.k, g.t, g.m, s}; }
    std::mutex mutex_;
    std::map<KeyType, Best> best_;
};

Memo& TheMemo() {
    static Memo memo;
    return memo;
}

Best FindBest(const WheelGoal& goal, Parts& parts) {
    if (const auto known = TheMemo().Find(goal, parts.Searching())) return *known;
    Best best;
    if (ValidGoal(goal)) {
        const std::span<const Row> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            const std::optional<int64_t> size = rows[i].size(goal, parts);
            if (size && *size <= KnownWheelMaxLines && (!best.size || *size < *best.size)) {
                best.size = size;
                best.row = static_cast<int>(i);
            }
        }
    }
    TheMemo().Put(goal, parts.Searching(), best);
    return best;
}

// Lines a search returned for goal: k distinct numbers below v each, nothing else.
bool WellFormed(const WheelGoal& goal, const std::vector<WheelLine>& lines) {
    for (const WheelLine& line : lines) {
        if (static_cast<int>(line.size()) != goal.k) return false;
        for (const uint8_t x : line)
            if (x >= goal.v) return false;
        WheelLine sorted = line;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return false;
    }
    return !lines.empty();
}

}  // namespace

int64_t Estimate(const WheelGoal& goal) {
    const double lower = static_cast<double>(WheelLowerBound(goal).lines);
    // Searches come near the Schoenheim bound on small coverings; for t < m the counting bound
    // is loose: the best wheels known are about twice it (27 numbers, lines of 6, "3 if 4": 86
    // lines against a bound of 41), so that a group costed so is not taken for a far larger
    // group's bound (48 numbers "3 if 5" beside one unwheeled number, in place of S(3,6,22)
    // and 27 numbers "3 if 4", for 49 numbers "3 if 6").
    const double factor = goal.t == goal.m ? 1.1 : 2.0;
    const double estimate = std::ceil(lower * factor);
    return estimate >= 9e18 ? INT64_MAX : static_cast<int64_t>(estimate);
}

std::optional<int64_t> Parts::TableSize(const WheelGoal& goal) {
    return FindBest(goal, *this).size;
}

std::optional<int64_t> Parts::Cost(const WheelGoal& goal) {
    const std::optional<int64_t> table = TableSize(goal);
    if (!Searching() || !ValidGoal(goal)) return table;
    // A covering the table builds above the estimate, or a goal it has no wheel for: the
    // search's. ("t if m" goals with t < m are searched as the groups of a union only, where
    // the estimate is weighed against the other groupings: costed by the estimate here, the
    // one-point extension would search a part about as large as the whole.)
    if (table && goal.t != goal.m) return table;
    const int64_t estimate = Estimate(goal);
    if (estimate > KnownWheelMaxLines) return table;
    return table && *table <= estimate ? *table : estimate;
}

std::optional<Construction> Parts::BuildTable(const WheelGoal& goal) {
    const Best best = FindBest(goal, *this);
    if (!best.size) return std::nullopt;
    // Unsorted: parts are sorted once, with the whole.
    return Rows()[static_cast<size_t>(best.row)].build(goal, *this);
}

std::optional<Construction> Parts::Build(const WheelGoal& goal) {
    const std::optional<int64_t> table = TableSize(goal);
    if (Searching() && table != Cost(goal)) return Search(goal);
    return BuildTable(goal);
}

std::optional<Construction> Parts::Search(const WheelGoal& goal) {
    Parts plain(nullptr);
    const std::optional<int64_t> table = plain.TableSize(goal);
    if (Searching()) {
        const auto key = std::make_tuple(goal.v, goal.k, goal.t, goal.m);
        auto it = searched_.find(key);
        if (it == searched_.end()) {
            std::optional<std::vector<WheelLine>> found = (*search_)(goal);
            if (found && WellFormed(goal, *found))
                Normalize(*found);
            else
                found.reset();
            it = searched_.emplace(key, std::move(found)).first;
        }
        if (it->second && (!table || static_cast<int64_t>(it->second->size()) <= *table))
            return Construction{*it->second, "searched"};
    }
    return plain.BuildTable(goal);
}

std::shared_ptr<const Construction> BaseDesign(const Row& row, const WheelGoal& goal) {
    static std::mutex mutex;
    static std::map<std::tuple<const char*, int, int, int>, std::shared_ptr<const Construction>>
        built;
    const auto key = std::make_tuple(row.name, goal.v, goal.k, goal.t);
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = built.find(key);
        if (it != built.end()) return it->second;
    }
    Parts plain(nullptr);
    std::optional<Construction> design = row.build(goal, plain);
    std::shared_ptr<const Construction> kept =
        design ? std::make_shared<const Construction>(std::move(*design)) : nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    return built.emplace(key, std::move(kept)).first->second;
}

// Helpers.

bool ValidGoal(const WheelGoal& g) {
    return 1 <= g.t && g.t <= g.m && g.m <= g.k && g.k <= g.v && g.v <= MaxNumber;
}

std::optional<int64_t> SumWithin(std::optional<int64_t> a, std::optional<int64_t> b) {
    if (!a || !b || *a > KnownWheelMaxLines || *b > KnownWheelMaxLines) return std::nullopt;
    if (*a + *b > KnownWheelMaxLines) return std::nullopt;
    return *a + *b;
}

WheelLine PadLine(WheelLine line, int k, int v) {
    if (static_cast<int>(line.size()) < k) {
        std::vector<bool> in(static_cast<size_t>(v), false);
        for (const uint8_t x : line) in[x] = true;
        const int first = line.empty() ? 0 : *std::min_element(line.begin(), line.end());
        for (int d = 1; d < v && static_cast<int>(line.size()) < k; ++d) {
            const int x = (first + d) % v;
            if (!in[static_cast<size_t>(x)]) line.push_back(static_cast<uint8_t>(x));
        }
        if (line.empty()) line.push_back(0);
    }
    std::sort(line.begin(), line.end());
    return line;
}

std::string PartText(const WheelGoal& g, const Construction& part) {
    std::string text = std::to_string(g.v) + " numbers, lines of " + std::to_string(g.k) + ", " +
                       std::to_string(g.t) + " if " + std::to_string(g.m) + " (" +
                       std::to_string(part.lines.size()) + " lines";
    if (part.how.size() <= MaxNumber) text += ": " + part.how;
    return text + ")";
}

void Normalize(std::vector<WheelLine>& lines) {
    for (WheelLine& line : lines) std::sort(line.begin(), line.end());
    std::sort(lines.begin(), lines.end(), LineLess);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

std::optional<std::pair<int, int>> PrimePower(int q) {
    if (q < 2) return std::nullopt;
    int p = 2;
    while (q % p != 0) ++p;
    int e = 0;
    while (q % p == 0) {
        q /= p;
        ++e;
    }
    if (q != 1) return std::nullopt;
    return std::make_pair(p, e);
}

}  // namespace constructions

std::optional<Construction> BuildKnownWheel(const WheelGoal& goal, const PartSearch& search) {
    constructions::Parts plain(nullptr);
    std::optional<Construction> best = plain.BuildTable(goal);
    if (best) constructions::Normalize(best->lines);
    if (!search) return best;
    constructions::Parts searching(&search);
    const std::optional<int64_t> planned = searching.TableSize(goal);
    if (planned && (!best || *planned < static_cast<int64_t>(best->lines.size()))) {
        std::optional<Construction> other = searching.BuildTable(goal);
        if (other) constructions::Normalize(other->lines);
        if (other && (!best || other->lines.size() < best->lines.size())) best = std::move(other);
    }
    return best;
}

std::optional<int64_t> KnownWheelSize(const WheelGoal& goal) {
    constructions::Parts plain(nullptr);
    return plain.TableSize(goal);
}

}  // namespace combogen
