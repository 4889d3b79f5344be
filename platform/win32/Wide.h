#pragma once
#include <windows.h>

#include <memory>
#include <string>

// Inside platform/win32/: the program's UTF-8 text and paths turned into the UTF-16 of the wide calls,
// and back.

namespace photocheck::win32 {

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);
std::string narrow(const wchar_t* utf16, size_t length);

// The path for a wide call. A path that would pass the system's limit of 260 characters is made
// absolute and given the "\\?\" prefix (or "\\?\UNC\" for a share), which lifts the limit.
std::wstring widePath(const std::string& utf8);

// The reason for an error code (GetLastError) as the operator reads it: a Chinese explanation, then the
// system's words in the language of the system (without the final full stop), as systemReason does.
std::string systemMessage(DWORD error);
// The system's words alone.
std::string systemText(DWORD error);
inline std::string lastErrorMessage() {
    return systemMessage(GetLastError());
}

// Errors that mean that nothing stands at a path.
bool isNotFound(DWORD error);

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// A handle from CreateFileW, or null (GetLastError set) when it failed.
Handle openHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);

// An entry as the wide calls see it.
struct EntryInfo {
    DWORD attributes = 0;
    DWORD reparseTag = 0;  // when attributes has FILE_ATTRIBUTE_REPARSE_POINT
    DWORD fileType = FILE_TYPE_UNKNOWN;
    uint64_t size = 0;
    uint64_t volume = 0;
    uint64_t fileIndex = 0;

    bool isFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A symbolic link or a junction: an entry that stands for another one (a name surrogate). A
    // reparse point whose tag the system does not give (0, as under Wine) counts as one too.
    bool isLink() const {
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
               (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
    }
};

// The entry at a path: what a link points to (followLinks) or the link itself. False with
// GetLastError set when it cannot be examined.
bool entryInfo(const std::string& path, bool followLinks, EntryInfo& info);

}  // namespace photocheck::win32
