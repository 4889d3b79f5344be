#pragma once
#include <optional>
#include <string>

#include "store/ResultsSchema.h"

namespace photocheck {

// The verdict box's first choice: every row, whatever else is typed.
inline const char* const AllVerdicts = "全部";
inline const char* const IncompleteRangeMessage = "选写的筛选范围不能为空，必须在0～100之间";
inline const char* const BlueRangeFilterMessage = " 蓝比筛选范围必须在0～100之间";
inline const char* const ClarityRangeFilterMessage = " 清晰度筛选范围必须在0～100之间";
inline const char* const HeadRangeFilterMessage = " 头部比筛选范围必须在0～100之间";
inline const char* const RegularRangeFilterMessage = " 端正比筛选范围必须在0～100之间";
inline const char* const RangeNotANumberMessage = " 筛选范围只能是数字，而不能填写其它字符！！";

// The ten texts of the results filter, as typed. The verdict box starts at "全部".
struct ResultsFilter {
    std::string blueFrom, blueTo;
    std::string clarityFrom, clarityTo;
    std::string headFrom, headTo;
    std::string regularFrom, regularTo;
    std::string verdict = AllVerdicts;
    std::string fileName;
};

// The statement to open on the results, or the message shown instead of opening anything.
struct ResultsQuery {
    std::optional<std::string> statement;
    std::string message;
};

// The query button. Every text is trimmed; a range needs both ends or neither, each end a whole
// number from 0 to 100. The first filled range leads the condition (blue, clarity, head, regular) and
// the other filled ranges and the verdict follow it; without a range the file-name text is looked for
// inside the names; without either the verdict alone is asked for. The verdict "全部" gives every row.
// Range ends enter the statement as the numbers they convert to, so "$1E" or "0x1E" means 30. The
// verdict and the file-name text enter it with their single quotes doubled; the LIKE wildcards "%"
// and "_" of the file-name text keep their meaning.
ResultsQuery buildResultsQuery(const ResultsFilter& filter);

// The clear button: every text empty (the verdict too, not "全部"); the statement it then opens.
std::string clearResultsFilter(ResultsFilter& filter);

}  // namespace photocheck
