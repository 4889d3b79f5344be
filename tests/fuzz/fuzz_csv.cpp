// A text value of the CSV: read back as a spreadsheet reads one field (RFC 4180) it is the text, with
// an apostrophe in front where the text would start a formula; no field starts a formula, and one
// field never spills into a second one or a second line.
#include <cstdlib>
#include <string>

#include "batch/RowsCsv.h"

namespace {

// One field as a spreadsheet reads it; aborts where it would read more than one field.
std::string readField(const std::string& field) {
    if (field.empty() || field.front() != '"') {
        if (field.find_first_of(",\"\r\n") != std::string::npos) std::abort();
        return field;
    }
    std::string text;
    size_t i = 1;
    for (;; ++i) {
        if (i >= field.size()) std::abort();  // no closing quote
        if (field[i] != '"') {
            text += field[i];
            continue;
        }
        if (i + 1 < field.size() && field[i + 1] == '"') {
            text += '"';
            ++i;
            continue;
        }
        break;
    }
    if (i + 1 != field.size()) std::abort();  // something after the closing quote
    return text;
}

bool startsAFormula(const std::string& text) {
    return !text.empty() && std::string("=+-@\t\r").find(text.front()) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string read = readField(photocheck::csvTextField(text));
    if (startsAFormula(read)) std::abort();
    if (read != (startsAFormula(text) ? "'" + text : text)) std::abort();
    if (readField(photocheck::csvField(text)) != text) std::abort();
    return 0;
}
