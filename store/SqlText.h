#pragma once
#include <string>

namespace photocheck {

// Doubles every single quote, so that a text can stand between quotes in a statement.
inline std::string quoteSql(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

}  // namespace photocheck
