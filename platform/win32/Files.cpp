#include "platform/Files.h"

#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

// Seconds since 1970 as the file system's 100-nanosecond ticks since 1601.
FILETIME fileTimeOf(std::time_t moment) {
    const uint64_t ticks = (static_cast<uint64_t>(moment) + 11644473600ULL) * 10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

}  // namespace

std::filesystem::path nativePath(const std::string& utf8) {
    return std::filesystem::path(win32::widePath(utf8));
}

std::string utf8Path(const std::filesystem::path& path) {
    return win32::narrow(path.native());
}

CFile openCFile(const std::string& path, const char* mode) {
    CFile file(_wfopen(win32::widePath(path).c_str(), win32::widen(mode).c_str()));
    // The C library says "no access" for a folder and for a file another program holds open: the
    // operator is told which of the two it is.
    if (!file && errno == EACCES) {
        if (_doserrno == ERROR_SHARING_VIOLATION || _doserrno == ERROR_LOCK_VIOLATION)
            errno = EBUSY;
        else if (folderExists(path))
            errno = EISDIR;
    }
    return file;
}

int64_t sizeOfOpenFile(std::FILE* file) {
    return _filelengthi64(_fileno(file));
}

struct FileReader::Handle {
    win32::Handle file;
};

FileReader::FileReader(const std::string& path) : path_(path) {
    const PathStatus status = statusOf(path);
    if (status.found() && status.kind != PathStatus::Kind::File)
        throw FileSystemError("无法打开文件 " + path + "（不是普通文件）");
    // Others may read the file meanwhile, not write it.
    win32::Handle file =
        win32::openHandle(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!file) throw FileSystemError("无法打开文件 " + path + "（" + win32::lastErrorMessage() + "）");
    LARGE_INTEGER size{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size))
        throw FileSystemError("无法打开文件 " + path + "（不是普通文件）");
    size_ = static_cast<uint64_t>(size.QuadPart);
    handle_ = std::make_unique<Handle>(Handle{std::move(file)});
}

FileReader::~FileReader() = default;

size_t FileReader::readAt(uint64_t offset, char* buffer, size_t count) const {
    size_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(handle_->file.get(), buffer + done, chunk, &n, &at)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) break;
            throw FileSystemError("无法读取文件 " + path_ + "（" + win32::systemMessage(error) + "）");
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

struct NewFile::Handle {
    win32::Handle file;
};

NewFile::NewFile(const std::string& path) : path_(path) {
    // CREATE_NEW fails on any name that exists, a link included, so nothing is ever followed.
    win32::Handle file = win32::openHandle(path, GENERIC_WRITE, 0, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file) {
        const DWORD error = GetLastError();
        existed_ = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return;
    }
    handle_ = std::make_unique<Handle>(Handle{std::move(file)});
    standardMode_ = 0666;
}

NewFile::~NewFile() {
    const bool made = created();
    handle_.reset();
    if (made && !committed_) removeFile(path_);
}

bool NewFile::created() const {
    return handle_ != nullptr;
}

bool NewFile::write(const char* data, size_t size, std::string& reason) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        DWORD n = 0;
        if (!WriteFile(handle_->file.get(), data, chunk, &n, nullptr)) {
            reason = win32::lastErrorMessage();
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool NewFile::commitAs(const std::string& target, unsigned mode, const std::optional<std::time_t>& modified) {
    if (modified) {
        const FILETIME time = fileTimeOf(*modified);
        SetFileTime(handle_->file.get(), nullptr, &time, &time);
    }
    const bool closed = CloseHandle(handle_->file.release()) != 0;
    if (!closed) return false;
    setPermissions(path_, mode);
    if (!replaceFile(path_, target)) return false;
    committed_ = true;
    return true;
}

std::tm localTimeOf(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

}  // namespace photocheck
