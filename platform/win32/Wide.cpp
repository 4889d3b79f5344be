#include "platform/win32/Wide.h"

#include <cerrno>
#include <vector>

#include "platform/SystemReason.h"

namespace photocheck::win32 {
namespace {

// A path at least this long gets the "\\?\" prefix: a folder's own path must leave room for a file
// name of 8.3 (the limit of CreateDirectoryW is 248).
constexpr size_t LongPathFrom = MAX_PATH - 12;

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

std::wstring fullPathOf(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    for (;;) {
        if (size == 0) return path;
        std::wstring full(size, L'\0');
        const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
        if (length < size) {
            full.resize(length);
            return full;
        }
        size = length;
    }
}

}  // namespace

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string narrow(const wchar_t* utf16, size_t length) {
    if (length == 0) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(length), text.data(), size, nullptr, nullptr);
    return text;
}

std::string narrow(const std::wstring& utf16) {
    return narrow(utf16.data(), utf16.size());
}

std::wstring widePath(const std::string& utf8) {
    std::wstring path = widen(utf8);
    if (path.size() < LongPathFrom || startsWith(path, L"\\\\?\\")) return path;
    const std::wstring full = fullPathOf(path);
    if (startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\")) return full;
    if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

namespace {

// The C library's error number that means what a Win32 error code means, for the Chinese explanation.
int errorNumberOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return ENAMETOOLONG;
        case ERROR_CANT_RESOLVE_FILENAME:
            return ELOOP;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
            return EIO;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_BUSY:
            return EBUSY;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        default:
            return 0;
    }
}

}  // namespace

std::string systemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) return "错误 " + std::to_string(error);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.' || text.back() == L'\u3002'))
        text.pop_back();
    return narrow(text);
}

std::string systemMessage(DWORD error) {
    return explainedReason(errorNumberOf(error), systemText(error));
}

bool isNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME || error == ERROR_INVALID_DRIVE ||
           error == ERROR_NOT_READY;
}

Handle openHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    const HANDLE h = CreateFileW(widePath(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
    return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool entryInfo(const std::string& path, bool followLinks, EntryInfo& info) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const Handle h = openHandle(path, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, flags);
    if (!h) return false;
    info.fileType = GetFileType(h.get());
    if (info.fileType != FILE_TYPE_DISK) return true;  // a device ("NUL", "CON") or a pipe: no file data
    BY_HANDLE_FILE_INFORMATION byHandle{};
    if (!GetFileInformationByHandle(h.get(), &byHandle)) return false;
    info.attributes = byHandle.dwFileAttributes;
    info.size = (static_cast<uint64_t>(byHandle.nFileSizeHigh) << 32) | byHandle.nFileSizeLow;
    info.volume = byHandle.dwVolumeSerialNumber;
    info.fileIndex = (static_cast<uint64_t>(byHandle.nFileIndexHigh) << 32) | byHandle.nFileIndexLow;
    info.reparseTag = 0;
    if (!followLinks) {
        // Wine opens what a link points to whatever the flags say, but the path's own attributes
        // still carry the reparse point.
        const DWORD own = GetFileAttributesW(widePath(path).c_str());
        if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT))
            info.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    }
    if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (GetFileInformationByHandleEx(h.get(), FileAttributeTagInfo, &tag, sizeof tag))
            info.reparseTag = tag.ReparseTag;
    }
    return true;
}

}  // namespace photocheck::win32
