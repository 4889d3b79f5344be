#include "batch/RowsCsv.h"

#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace photocheck {
namespace {

const char* const ByteOrderMark = "\xEF\xBB\xBF";
const char* const LineEnd = "\r\n";

std::string fieldText(const SqlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return validUtf8(trimmed(*text));
    if (const auto* number = std::get_if<int64_t>(&value)) return std::to_string(*number);
    return {};
}

template <typename Item, typename ToText>
void writeLine(std::ostream& out, const std::vector<Item>& items, ToText toText) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out << ',';
        out << csvField(toText(items[i]));
    }
    out << LineEnd;
}

}  // namespace

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
    writeLine(out, rows.columnNames(), [](const std::string& name) { return name; });
    rows.forEachRow([&out](const SqlRow& row) { writeLine(out, row, fieldText); });
}

}  // namespace photocheck
