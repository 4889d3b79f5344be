#include "platform/OpenFile.h"

#include <fcntl.h>
#include <io.h>

#include "platform/FileSystem.h"
#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

[[noreturn]] void cannotOpen(const std::string& path, const std::string& reason) {
    throw FileSystemError("无法打开文件 \"" + path + "\"（" + reason + "）");
}

// The handle as a C library file; it is closed when that fails.
FileHandle fileOf(win32::Handle handle, int flags, const char* mode, const std::string& path) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), flags);
    if (fd < 0) cannotOpen(path, "无法使用文件");
    handle.release();  // the descriptor owns it now
    std::FILE* file = _fdopen(fd, mode);
    if (!file) {
        _close(fd);
        cannotOpen(path, "无法使用文件");
    }
    return FileHandle(file);
}

}  // namespace

void FileCloser::operator()(std::FILE* file) const {
    if (file) std::fclose(file);
}

FileForReading openRegularFileForReading(const std::string& path) {
    // Others may read the file meanwhile. Opening never waits, a pipe included.
    win32::Handle h =
        win32::openHandle(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!h) cannotOpen(path, win32::lastErrorMessage());
    LARGE_INTEGER size{};
    if (GetFileType(h.get()) != FILE_TYPE_DISK || !GetFileSizeEx(h.get(), &size))
        cannotOpen(path, "不是普通文件");
    return {fileOf(std::move(h), _O_RDONLY | _O_BINARY, "rb", path), static_cast<int64_t>(size.QuadPart)};
}

FileHandle createNewFile(const std::string& path) {
    // CREATE_NEW never replaces what is there; a link at the path counts as there and is not followed.
    win32::Handle h = win32::openHandle(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (!h) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return nullptr;
        if (error == ERROR_ACCESS_DENIED && entryStatusOf(path).kind != PathStatus::Kind::Missing)
            return nullptr;
        throw FileSystemError("无法创建文件 \"" + path + "\"：" + win32::systemMessage(error));
    }
    return fileOf(std::move(h), _O_WRONLY | _O_BINARY, "wb", path);
}

}  // namespace photocheck
