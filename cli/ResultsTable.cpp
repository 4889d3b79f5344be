#include "cli/ResultsTable.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "store/ResultsSchema.h"

namespace photocheck {
namespace {

// The columns the window's grid shows (a width above 0).
constexpr const ResultsColumn& Name = resultsColumn("name");
constexpr const ResultsColumn& Result = resultsColumn("result");
constexpr const ResultsColumn& Reason = resultsColumn("reason");

struct GridRow {
    std::string name;
    std::string result;
    std::string reason;
};

// Where the grid's three columns stand in the result set.
struct GridRowColumns {
    size_t name, result, reason;
};

std::string textOf(const SqlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* number = std::get_if<int64_t>(&value)) return std::to_string(*number);
    return {};
}

GridRow gridRowOf(const SqlRow& row, const GridRowColumns& at) {
    return {withControlsEscaped(trimmed(textOf(row.at(at.name)))),
            withControlsEscaped(textOf(row.at(at.result))), withControlsEscaped(textOf(row.at(at.reason)))};
}

// The wide characters of East Asian scripts and the full-width forms.
bool isWide(uint32_t codePoint) {
    return (codePoint >= 0x1100 && codePoint <= 0x115F) || (codePoint >= 0x2E80 && codePoint <= 0xA4CF) ||
           (codePoint >= 0xAC00 && codePoint <= 0xD7A3) || (codePoint >= 0xF900 && codePoint <= 0xFAFF) ||
           (codePoint >= 0xFE30 && codePoint <= 0xFE4F) || (codePoint >= 0xFF00 && codePoint <= 0xFF60) ||
           (codePoint >= 0xFFE0 && codePoint <= 0xFFE6) || (codePoint >= 0x20000 && codePoint <= 0x3FFFD);
}

std::string padded(const std::string& text, int width) {
    return text + std::string(static_cast<size_t>(std::max(0, width - displayWidth(text))), ' ');
}

}  // namespace

int displayWidth(const std::string& utf8) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t codePoint = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += isWide(codePoint) ? 2 : 1;
        i += length;
    }
    return width;
}

void printResultsTable(const Query& results, std::ostream& out) {
    const GridRow titles{Name.title, Result.title, Reason.title};
    if (!results.isOpen()) {
        out << titles.name << "  " << titles.result << "  " << titles.reason << '\n';
        return;
    }
    const GridRowColumns at{results.columnIndex(Name.field), results.columnIndex(Result.field),
                            results.columnIndex(Reason.field)};
    int nameWidth = displayWidth(titles.name), resultWidth = displayWidth(titles.result);
    results.forEachRow([&](const SqlRow& values) {
        const GridRow row = gridRowOf(values, at);
        nameWidth = std::max(nameWidth, displayWidth(row.name));
        resultWidth = std::max(resultWidth, displayWidth(row.result));
    });
    const auto print = [&](const GridRow& row) {
        std::string line =
            padded(row.name, nameWidth) + "  " + padded(row.result, resultWidth) + "  " + row.reason;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << '\n';
    };
    print(titles);
    results.forEachRow([&](const SqlRow& values) { print(gridRowOf(values, at)); });
}

}  // namespace photocheck
