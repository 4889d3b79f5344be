#include "platform/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace photocheck {
namespace {

using Json = nlohmann::json;

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string escaped(uint32_t control) {
    switch (control) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default: {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned>(control));
            return text;
        }
    }
}

}  // namespace

std::string validUtf8(const std::string& bytes) {
    if (isAscii(bytes)) return bytes;
    // The JSON writer's replacement, read back from the JSON string it writes.
    return Json::parse(Json(bytes).dump(-1, ' ', false, Json::error_handler_t::replace)).get<std::string>();
}

std::string withControlsEscaped(const std::string& text) {
    const std::string utf8 = validUtf8(text);
    std::string shown;
    shown.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (byte < 0x20 || byte == 0x7F) {
            shown += escaped(byte);
        } else if (c1) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned char>(utf8[++i]));
            shown += code;
        } else {
            shown += utf8[i];
        }
    }
    return shown;
}

}  // namespace photocheck
