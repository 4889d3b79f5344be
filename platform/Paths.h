#pragma once
#include <string>

namespace photocheck {

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// The name after the last separator.
std::string fileNameOf(const std::string& path);
// The path up to and including its last separator; empty when it has none.
std::string folderPartOf(const std::string& path);
// The extension of the file name without its dot ("" when the name has no dot).
std::string extensionOf(const std::string& path);
// The file name cut before its last "." or " "; empty when it has neither.
std::string photoBaseNameOf(const std::string& path);
// ASCII upper case; other bytes unchanged.
std::string asciiUpper(std::string text);
// The text without leading and trailing blanks and control characters.
std::string trimmed(const std::string& text);
// The path cleaned as written, the file system not asked: no "." components and no doubled
// separators, a ".." takes away the component before it (none above the root), no final separator
// except for the root itself. "/a/./b//../c/" gives "/a/c"; a relative path stays relative.
std::string cleanPath(const std::string& path);

}  // namespace photocheck
