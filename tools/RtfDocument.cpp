#include "tools/RtfDocument.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace photocheck {
namespace {

std::vector<char32_t> codePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length == 0 || i + length > utf8.size())
            throw std::runtime_error("the document text is not UTF-8");
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) throw std::runtime_error("the document text is not UTF-8");
            cp = (cp << 6) | (next & 0x3F);
        }
        out.push_back(cp);
        i += length;
    }
    return out;
}

// \uN? takes a signed 16-bit number; characters beyond the first plane go as a surrogate pair.
void appendUnicode(std::string& out, char32_t unit) {
    out += "\\u" + std::to_string(unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit)) +
           "?";
}

std::string escaped(const std::string& utf8) {
    std::string out;
    for (const char32_t cp : codePoints(utf8)) {
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\t') {
            out += "\\tab ";
        } else if (cp >= 0x20 && cp < 0x7F) {
            out += static_cast<char>(cp);
        } else if (cp > 0xFFFF) {
            const char32_t v = cp - 0x10000;
            appendUnicode(out, 0xD800 + (v >> 10));
            appendUnicode(out, 0xDC00 + (v & 0x3FF));
        } else if (cp >= 0x20) {
            appendUnicode(out, cp);
        }
    }
    return out;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string paragraph(const std::string& line) {
    if (startsWith(line, "## "))
        return "\\pard\\sb200\\sa100\\b\\fs26 " + escaped(line.substr(3)) + "\\b0\\fs22\\par\n";
    if (startsWith(line, "# "))
        return "\\pard\\qc\\sa200\\b\\fs32 " + escaped(line.substr(2)) + "\\b0\\fs22\\par\n";
    if (startsWith(line, "- "))
        return "\\pard\\fi-300\\li600\\sa60 \\u8226?\\tab " + escaped(line.substr(2)) + "\\par\n";
    return "\\pard\\sa120 " + escaped(line) + "\\par\n";
}

}  // namespace

std::string rtfFromText(const std::string& utf8Text) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\n{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\n\\f0\\fs22\n";
    std::istringstream lines(utf8Text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) rtf += paragraph(line);
    }
    return rtf + "}\n";
}

}  // namespace photocheck
