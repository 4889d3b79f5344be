// The pictures of the run report as data: URIs: any bytes give the padded base64 text of RFC 4648,
// which decodes to the same bytes.
#include <cstdlib>
#include <string>

#include "report/HtmlText.h"

namespace {

const std::string Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string decoded(const std::string& text) {
    if (text.size() % 4 != 0) std::abort();
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 4) {
        uint32_t v = 0;
        int padding = 0;
        for (size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=') {
                if (i + 4 != text.size() || k < 2) std::abort();  // padding only at the very end
                ++padding;
                v <<= 6;
                continue;
            }
            const size_t digit = Digits.find(c);
            if (digit == std::string::npos || padding > 0) std::abort();
            v = (v << 6) | static_cast<uint32_t>(digit);
        }
        bytes += static_cast<char>(v >> 16);
        if (padding < 2) bytes += static_cast<char>(v >> 8 & 0xFF);
        if (padding < 1) bytes += static_cast<char>(v & 0xFF);
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = photocheck::base64(bytes);
    if (text.size() != (size + 2) / 3 * 4) std::abort();
    if (decoded(text) != bytes) std::abort();
    return 0;
}
