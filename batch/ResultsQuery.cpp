#include "batch/ResultsQuery.h"

#include <array>
#include <cstdint>

#include "platform/Paths.h"
#include "store/IntConversion.h"
#include "store/SqlText.h"

namespace photocheck {
namespace {

struct Range {
    const char* column;
    const char* outOfRangeMessage;
    std::string from, to;
    int32_t low = 0, high = 0;  // the converted ends, once checked

    bool filled() const { return !from.empty(); }
    bool halfFilled() const { return from.empty() != to.empty(); }
    std::string condition() const {
        return std::string(column) + " between " + std::to_string(low) + " and " + std::to_string(high);
    }
};

using Ranges = std::array<Range, 4>;

Ranges rangesOf(const ResultsFilter& f) {
    return {Range{"bluePercent", BlueRangeFilterMessage, trimmed(f.blueFrom), trimmed(f.blueTo)},
            Range{"ClarityPercent", ClarityRangeFilterMessage, trimmed(f.clarityFrom), trimmed(f.clarityTo)},
            Range{"HeadPercent", HeadRangeFilterMessage, trimmed(f.headFrom), trimmed(f.headTo)},
            Range{"RegularPercent", RegularRangeFilterMessage, trimmed(f.regularFrom), trimmed(f.regularTo)}};
}

bool isPercent(int32_t value) {
    return value >= 0 && value <= 100;
}

std::optional<std::string> incompleteRange(const Ranges& ranges) {
    for (const Range& r : ranges)
        if (r.halfFilled()) return IncompleteRangeMessage;
    return std::nullopt;
}

// Converts the ends of every filled range; the message of the first one that is no number or out
// of range.
std::optional<std::string> convertRanges(Ranges& ranges) {
    for (Range& r : ranges) {
        if (!r.filled()) continue;
        try {
            r.low = StrToInt(r.from);
            r.high = StrToInt(r.to);
        } catch (const ConversionError&) {
            return RangeNotANumberMessage;
        }
        if (!isPercent(r.low) || !isPercent(r.high)) return r.outOfRangeMessage;
    }
    return std::nullopt;
}

std::string verdictCondition(const std::string& verdict, bool blankAfterEquals) {
    return std::string(blankAfterEquals ? "Result= '" : "Result='") + quoteSql(verdict) + "' ";
}

std::string condition(const Ranges& ranges, const std::string& verdict, const std::string& fileName) {
    for (size_t lead = 0; lead < ranges.size(); ++lead) {
        if (!ranges[lead].filled()) continue;
        std::string text = ranges[lead].condition();
        for (size_t i = lead + 1; i < ranges.size(); ++i)
            if (ranges[i].filled()) text += " and " + ranges[i].condition();
        if (!verdict.empty()) text += " and " + verdictCondition(verdict, lead > 0);
        return text;
    }
    if (!fileName.empty()) return "Name like '%" + quoteSql(fileName) + "%'";
    return " " + verdictCondition(verdict, true);
}

bool allEmpty(const Ranges& ranges, const std::string& verdict, const std::string& fileName) {
    for (const Range& r : ranges)
        if (!r.from.empty() || !r.to.empty()) return false;
    return verdict.empty() && fileName.empty();
}

}  // namespace

ResultsQuery buildResultsQuery(const ResultsFilter& filter) {
    Ranges ranges = rangesOf(filter);
    const std::string verdict = trimmed(filter.verdict);
    const std::string fileName = trimmed(filter.fileName);
    if (allEmpty(ranges, verdict, fileName)) return {AllRowsStatement, {}};
    if (const auto message = incompleteRange(ranges)) return {std::nullopt, *message};
    if (const auto message = convertRanges(ranges)) return {std::nullopt, *message};
    const std::string statement = std::string(RowsWhereStatement) + condition(ranges, verdict, fileName);
    if (verdict == AllVerdicts) return {AllRowsStatement, {}};
    return {statement, {}};
}

std::string clearResultsFilter(ResultsFilter& filter) {
    filter = ResultsFilter{};
    filter.verdict.clear();
    return AllRowsStatement;
}

}  // namespace photocheck
