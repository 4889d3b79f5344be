#include "store/LikeMatch.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace photocheck {
namespace {

constexpr uint32_t Replacement = 0xFFFD;

// The next character of a UTF-8 text, read as the engine reads it.
uint32_t readCharacter(std::string_view text, size_t& at) {
    uint32_t c = static_cast<unsigned char>(text[at++]);
    if (c < 0xC0) return c;
    c &= c < 0xE0 ? 0x1F : c < 0xF0 ? 0x0F : c < 0xF8 ? 0x07 : c < 0xFC ? 0x03 : c < 0xFE ? 0x01 : 0x00;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        c = (c << 6) + (static_cast<unsigned char>(text[at++]) & 0x3F);
    if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE) return Replacement;
    return c;
}

std::vector<uint32_t> charactersOf(std::string_view text) {
    std::vector<uint32_t> characters;
    characters.reserve(text.size());
    for (size_t at = 0; at < text.size();) characters.push_back(readCharacter(text, at));
    return characters;
}

uint32_t folded(uint32_t c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// One element of a pattern: any run, any one character, or one character itself.
struct Element {
    enum class Kind { AnyRun, AnyOne, Literal } kind;
    uint32_t character = 0;

    bool matches(uint32_t c) const { return kind == Kind::AnyOne || folded(character) == folded(c); }
};

std::optional<uint32_t> escapeCharacter(std::string_view escape) {
    if (escape.empty()) return std::nullopt;
    const std::vector<uint32_t> characters = charactersOf(escape);
    if (characters.size() != 1) throw std::invalid_argument("ESCAPE expression must be a single character");
    return characters[0];
}

// The elements of a pattern; none when it ends in the escape character, which then matches nothing.
std::optional<std::vector<Element>> elementsOf(std::string_view pattern, std::optional<uint32_t> escape) {
    std::vector<Element> elements;
    const std::vector<uint32_t> characters = charactersOf(pattern);
    for (size_t i = 0; i < characters.size(); ++i) {
        const uint32_t c = characters[i];
        if (escape && c == *escape) {
            if (++i == characters.size()) return std::nullopt;
            elements.push_back({Element::Kind::Literal, characters[i]});
        } else if (c == '%') {
            elements.push_back({Element::Kind::AnyRun});
        } else if (c == '_') {
            elements.push_back({Element::Kind::AnyOne});
        } else {
            elements.push_back({Element::Kind::Literal, c});
        }
    }
    return elements;
}

}  // namespace

// After a "%" only the last one needs trying again: what a later match of an earlier "%" could reach,
// the last one reaches too.
bool likeMatches(std::string_view pattern, std::string_view text, std::string_view escape) {
    const std::optional<std::vector<Element>> elements = elementsOf(pattern, escapeCharacter(escape));
    if (!elements) return false;
    const std::vector<Element>& p = *elements;
    const std::vector<uint32_t> s = charactersOf(text);
    size_t pi = 0, si = 0;
    std::optional<size_t> lastRun;  // the pattern element after the last "%" met
    size_t runStart = 0;            // where the text stood when that "%" was met, plus what it took since
    while (si < s.size()) {
        if (pi < p.size() && p[pi].kind == Element::Kind::AnyRun) {
            lastRun = ++pi;
            runStart = si;
        } else if (pi < p.size() && p[pi].matches(s[si])) {
            ++pi;
            ++si;
        } else if (lastRun) {
            pi = *lastRun;
            si = ++runStart;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi].kind == Element::Kind::AnyRun) ++pi;
    return pi == p.size();
}

}  // namespace photocheck
