#include "report/HtmlText.h"

#include <cstdint>

namespace photocheck {
namespace {

const char* const Replacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at text[i], or 0.
size_t utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    size_t n = 0;
    uint32_t lowest = 0;
    if (b0 < 0x80) return 1;
    if ((b0 & 0xE0) == 0xC0)
        n = 2, lowest = 0x80;
    else if ((b0 & 0xF0) == 0xE0)
        n = 3, lowest = 0x800;
    else if ((b0 & 0xF8) == 0xF0)
        n = 4, lowest = 0x10000;
    else
        return 0;
    if (i + n > text.size()) return 0;
    uint32_t code = b0 & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::string htmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t n = utf8Length(text, i);
        if (n == 0) {
            out += Replacement;
            ++i;
            continue;
        }
        if (n == 1) {
            switch (text[i]) {
                case '&':
                    out += "&amp;";
                    break;
                case '<':
                    out += "&lt;";
                    break;
                case '>':
                    out += "&gt;";
                    break;
                case '"':
                    out += "&quot;";
                    break;
                case '\'':
                    out += "&#39;";
                    break;
                default:
                    out += text[i];
            }
        } else {
            out.append(text, i, n);
        }
        i += n;
    }
    return out;
}

std::string base64(const std::string& bytes) {
    static const char* const Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t v = (static_cast<uint8_t>(bytes[i]) << 16) |
                           (static_cast<uint8_t>(bytes[i + 1]) << 8) | static_cast<uint8_t>(bytes[i + 2]);
        out += Digits[(v >> 18) & 63];
        out += Digits[(v >> 12) & 63];
        out += Digits[(v >> 6) & 63];
        out += Digits[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const uint32_t v =
            (static_cast<uint8_t>(bytes[i]) << 16) | (two ? static_cast<uint8_t>(bytes[i + 1]) << 8 : 0);
        out += Digits[(v >> 18) & 63];
        out += Digits[(v >> 12) & 63];
        out += two ? Digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

}  // namespace photocheck
