#include "platform/Utf8.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace photocheck {
namespace {

using Json = nlohmann::json;

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string validUtf8(const std::string& bytes) {
    if (isAscii(bytes)) return bytes;
    // The JSON writer's replacement, read back from the JSON string it writes.
    return Json::parse(Json(bytes).dump(-1, ' ', false, Json::error_handler_t::replace)).get<std::string>();
}

}  // namespace photocheck
