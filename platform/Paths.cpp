#include "platform/Paths.h"

#include <algorithm>
#include <vector>

namespace photocheck {

std::string fileNameOf(const std::string& path) {
    const auto cut = path.find_last_of(PathSeparators);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string folderPartOf(const std::string& path) {
    const auto cut = path.find_last_of(PathSeparators);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string fileStemOf(const std::string& path) {
    std::string name = fileNameOf(path);
    if (name == "." || name == "..") return name;
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
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

std::string withFinalSeparator(std::string folder) {
    if (!folder.empty() && !isPathSeparator(folder.back())) folder += PathSeparator;
    return folder;
}

std::string withoutFinalSeparator(std::string folder) {
    const size_t root = std::max<size_t>(rootLengthOf(folder), 1);
    while (folder.size() > root && isPathSeparator(folder.back())) folder.pop_back();
    return folder;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : withFinalSeparator(folder) + name;
}

std::string cleanPath(const std::string& path) {
    const size_t rootLength = rootLengthOf(path);
    std::string root = path.substr(0, rootLength);
    std::replace_if(root.begin(), root.end(), isPathSeparator, PathSeparator);
    const bool rooted = rootLength > 0;
    std::vector<std::string> parts;
    size_t at = rootLength;
    while (at <= path.size()) {
        const size_t end = std::min(path.find_first_of(PathSeparators, at), path.size());
        const std::string part = path.substr(at, end - at);
        const bool up = part == "..";
        // A ".." above the root of a rooted path is dropped; above the start of a relative one it stays.
        const bool kept = up ? !rooted : !part.empty() && part != ".";
        if (up && !parts.empty() && parts.back() != "..")
            parts.pop_back();
        else if (kept)
            parts.push_back(part);
        at = end + 1;
    }
    std::string cleaned = root;
    for (size_t i = 0; i < parts.size(); ++i) cleaned += (i ? std::string(1, PathSeparator) : "") + parts[i];
    return cleaned.empty() && !path.empty() ? "." : cleaned;
}

}  // namespace photocheck
