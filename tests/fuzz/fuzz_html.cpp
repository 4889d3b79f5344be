// Any text put into the run report's page stays text: no character that starts markup or ends an
// attribute comes out as it is, every "&" starts one of the entities written, the result is valid
// UTF-8, and a text that was valid UTF-8 comes back whole when the entities are read.
#include <cstdlib>
#include <string>

#include "report/HtmlText.h"

namespace {

const std::pair<const char*, char> Entities[] = {
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};

// The text with the entities read; aborts on an "&" that starts none of them.
std::string unescaped(const std::string& html) {
    std::string text;
    for (size_t i = 0; i < html.size();) {
        if (html[i] != '&') {
            text += html[i++];
            continue;
        }
        bool known = false;
        for (const auto& [entity, character] : Entities) {
            const std::string e = entity;
            if (html.compare(i, e.size(), e) == 0) {
                text += character;
                i += e.size();
                known = true;
                break;
            }
        }
        if (!known) std::abort();
    }
    return text;
}

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing above U+10FFFF.
bool isUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t n = b < 0x80             ? 1
                   : (b & 0xE0) == 0xC0 ? 2
                   : (b & 0xF0) == 0xE0 ? 3
                   : (b & 0xF8) == 0xF0 ? 4
                                        : 0;
        if (n == 0 || i + n > text.size()) return false;
        uint32_t c = n == 1 ? b : b & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        const uint32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < lowest[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string html = photocheck::htmlEscaped(text);
    if (html.find_first_of("<>\"'") != std::string::npos) std::abort();
    if (!isUtf8(html)) std::abort();
    const std::string back = unescaped(html);
    if (isUtf8(text) && back != text) std::abort();
    return 0;
}
