#include "platform/Paths.h"

#include <algorithm>
#include <vector>

namespace photocheck {

std::string fileNameOf(const std::string& path) {
    const auto cut = path.find_last_of(PathSeparator);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string folderPartOf(const std::string& path) {
    const auto cut = path.find_last_of(PathSeparator);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string photoBaseNameOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto cut = name.find_last_of(". ");
    return cut == std::string::npos ? std::string() : name.substr(0, cut);
}

std::string asciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string trimmed(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return text.substr(b, e - b);
}

std::string cleanPath(const std::string& path) {
    const bool rooted = !path.empty() && path.front() == PathSeparator;
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= path.size()) {
        const size_t end = std::min(path.find(PathSeparator, at), path.size());
        const std::string part = path.substr(at, end - at);
        if (part == ".." && !parts.empty() && parts.back() != "..")
            parts.pop_back();
        else if (part == ".." && !rooted)
            parts.push_back(part);
        else if (!part.empty() && part != "." && part != "..")
            parts.push_back(part);
        at = end + 1;
    }
    std::string cleaned = rooted ? std::string(1, PathSeparator) : std::string();
    for (size_t i = 0; i < parts.size(); ++i) cleaned += (i ? std::string(1, PathSeparator) : "") + parts[i];
    return cleaned.empty() && !path.empty() ? "." : cleaned;
}

}  // namespace photocheck
