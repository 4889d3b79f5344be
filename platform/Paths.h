#pragma once
#include <string>

namespace photocheck {

// The separator the program writes into paths. Windows also takes "/" in a path it is given, so
// there both count as separators when a path is taken apart.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
inline constexpr const char* PathSeparators = "\\/";
#else
inline constexpr char PathSeparator = '/';
inline constexpr const char* PathSeparators = "/";
#endif

constexpr bool isPathSeparator(char c) {
    for (const char* s = PathSeparators; *s; ++s)
        if (c == *s) return true;
    return false;
}

// The name after the last separator.
std::string fileNameOf(const std::string& path);
// The path up to and including its last separator; empty when it has none.
std::string folderPartOf(const std::string& path);
// The extension of the file name without its dot ("" when the name has no dot).
std::string extensionOf(const std::string& path);
// The file name without its last extension: "a.b.jpg" gives "a.b"; a name that starts with its only
// dot (".hidden") is kept whole.
std::string fileStemOf(const std::string& path);
// The file name cut before its last "." or " "; empty when it has neither.
std::string photoBaseNameOf(const std::string& path);
// ASCII upper case; other bytes unchanged.
std::string asciiUpper(std::string text);
// The text without leading and trailing blanks and control characters.
std::string trimmed(const std::string& text);

// The folder with one final separator; an empty folder stays empty.
std::string withFinalSeparator(std::string folder);
// The folder without final separators, the root itself excepted ("/", "C:\").
std::string withoutFinalSeparator(std::string folder);
// folder + separator + name, with no separator doubled; an empty folder gives the name.
std::string joinPath(const std::string& folder, const std::string& name);

// The length of the path's root: "/" on Linux; "C:\", "C:", "\" or "\\server\share\" on Windows;
// 0 for a relative path.
size_t rootLengthOf(const std::string& path);

// The path cleaned as written, the file system not asked: no "." components and no doubled
// separators, a ".." takes away the component before it (none above the root), no final separator
// except for the root itself. "/a/./b//../c/" gives "/a/c"; a relative path stays relative. On
// Windows every separator becomes "\".
std::string cleanPath(const std::string& path);

}  // namespace photocheck
