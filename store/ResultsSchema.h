#pragma once
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace photocheck {

// The results table pictureMsg, one row per photo of the last batch run: its columns with their
// titles, kinds and grid widths, the verdicts it holds and the statements that read and empty it.
// The window's grid, the grid edits, the command line's table and the benchmarks all read them here.
// The package's database creates the table with these columns in this order (data/schema.sql).

// How a column's values are stored.
enum class ColumnKind {
    Number,      // a whole number; NULL where the checks did not reach it
    PaddedText,  // text between one leading and one trailing blank, as a run writes it; readers trim it
    Text,        // text as it is: the verdict, the reason
};

struct ResultsColumn {
    const char* field;
    const char* title;  // as the grid's column title says it
    ColumnKind kind;
    int gridWidth;  // in pixels; 0 for a column the grid holds but does not show
};

// The thirteen columns, in the table's order.
inline constexpr std::array<ResultsColumn, 13> ResultsColumns{{
    {"name", "文件名", ColumnKind::PaddedText, 132},
    {"mode", "格式", ColumnKind::PaddedText, 0},
    {"pix", "像素", ColumnKind::PaddedText, 0},
    {"Picsize", "大小", ColumnKind::Number, 0},
    {"bluePercent", "蓝比", ColumnKind::Number, 0},
    {"clarityPercent", "清晰度", ColumnKind::Number, 0},
    {"headPercent", "头部比", ColumnKind::Number, 0},
    {"regularPercent", "端正度", ColumnKind::Number, 0},
    {"eyeLeftlet", "左眼孔", ColumnKind::Number, 0},
    {"eyeRightlet", "右眼孔", ColumnKind::Number, 0},
    {"reason", "原因", ColumnKind::Text, 146},
    {"result", "结果", ColumnKind::Text, 40},
    {"folderPath", "文件夹", ColumnKind::PaddedText, 0},
}};

// A column by its field name, as written above.
constexpr const ResultsColumn& resultsColumn(std::string_view field) {
    for (const ResultsColumn& column : ResultsColumns)
        if (std::string_view(column.field) == field) return column;
    throw std::out_of_range("no such column of pictureMsg");
}

// The grid's twelve columns, in its order: the verdict before the reason, the folder left out.
inline constexpr std::array<ResultsColumn, 12> GridColumns{{
    resultsColumn("name"),
    resultsColumn("mode"),
    resultsColumn("pix"),
    resultsColumn("Picsize"),
    resultsColumn("bluePercent"),
    resultsColumn("clarityPercent"),
    resultsColumn("headPercent"),
    resultsColumn("regularPercent"),
    resultsColumn("eyeLeftlet"),
    resultsColumn("eyeRightlet"),
    resultsColumn("result"),
    resultsColumn("reason"),
}};

// The values of the column result.
inline const char* const VerdictPassed = "合格";
inline const char* const VerdictFailed = "不合格";

// Every row, as the results open after a run, after the clear button and for a query with "全部".
inline const char* const AllRowsStatement = "select * from pictureMsg";
// What the window opens at its creation: the same rows, the table named in other letter case, as
// identifiers are matched without regard to it.
inline const char* const StartupRowsStatement = "select * from picTureMsg";
// The beginning of a statement with a condition after it.
inline const char* const RowsWhereStatement = "select * from pictureMsg where ";
// Empties the table at the start of a run.
inline const char* const DeleteAllRowsStatement = "delete * from pictureMsg";
// The beginning of a photo's INSERT; its column list, ") values (" and the values follow.
inline const char* const InsertRowStatement = "insert into pictureMsg (";

// The rows the results grid reads at a time, as the view scrolls to them; the benchmark of the first
// page reads the same number.
inline constexpr size_t ResultsPageRows = 256;

}  // namespace photocheck
