#include "batch/RowsCsv.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace photocheck {
namespace {

const char* const ByteOrderMark = "\xEF\xBB\xBF";
const char* const LineEnd = "\r\n";

// The characters that make a spreadsheet take a cell for a formula.
bool startsLikeAFormula(const std::string& text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

std::string valueField(const SqlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return csvTextField(validUtf8(trimmed(*text)));
    if (const auto* number = std::get_if<int64_t>(&value)) return std::to_string(*number);
    return {};
}

template <typename Item, typename ToField>
void writeLine(std::ostream& out, const std::vector<Item>& items, ToField toField) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out << ',';
        out << toField(items[i]);
    }
    out << LineEnd;
}

}  // namespace

std::string csvTextField(const std::string& text) {
    return csvField(startsLikeAFormula(text) ? "'" + text : text);
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

void writeRowsCsv(const Query& rows, std::ostream& out) {
    out << ByteOrderMark;
    writeLine(out, rows.columnNames(), csvField);
    rows.forEachRow([&out](const SqlRow& row) { writeLine(out, row, valueField); });
}

}  // namespace photocheck
