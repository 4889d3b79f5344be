#include "store/IntConversion.h"

#include <optional>

namespace photocheck {
namespace {

std::optional<int> digitValue(char c, int base) {
    int value;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    else
        return std::nullopt;
    if (value >= base) return std::nullopt;
    return value;
}

// Skips a hexadecimal prefix ("$", "x", "X", "0x", "0X") at `pos`; returns the base of the digits.
int skipBasePrefix(const std::string& text, size_t& pos) {
    if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
        ++pos;
        return 16;
    }
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        pos += 2;
        return 16;
    }
    return 10;
}

std::optional<int32_t> parse(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const int base = skipBasePrefix(text, pos);
    if (pos == text.size()) return std::nullopt;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const auto digit = digitValue(text[pos], base);
        if (!digit) return std::nullopt;
        magnitude = magnitude * base + *digit;
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

int32_t StrToInt(const std::string& text) {
    if (const auto value = parse(text)) return *value;
    throw ConversionError("'" + text + "' is not a valid integer value");
}

}  // namespace photocheck
