#include "platform/Paths.h"

namespace photocheck {
namespace {

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

// "C:\", "C:", "\" and "\\server\share\" (with "\\?\" and "\\.\" paths as shares of "?" and ".").
size_t rootLengthOf(const std::string& path) {
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':')
        return path.size() >= 3 && isPathSeparator(path[2]) ? 3 : 2;
    if (path.empty() || !isPathSeparator(path[0])) return 0;
    if (path.size() < 2 || !isPathSeparator(path[1])) return 1;
    const size_t server = path.find_first_of(PathSeparators, 2);
    if (server == std::string::npos) return path.size();
    const size_t share = path.find_first_of(PathSeparators, server + 1);
    return share == std::string::npos ? path.size() : share + 1;
}

}  // namespace photocheck
