#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace photocheck {

using Json = nlohmann::ordered_json;

// One object on one line, valid JSON whatever bytes its texts hold: bytes that are not UTF-8 become
// U+FFFD.
inline std::string jsonLine(const Json& object) {
    return object.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace photocheck
