#include "platform/OpenFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/SystemReason.h"

namespace photocheck {
namespace {

[[noreturn]] void cannotOpen(const std::string& path, const std::string& reason) {
    throw FileSystemError("无法打开文件 \"" + path + "\"（" + reason + "）");
}

// The descriptor as a C library file; it is closed when that fails.
FileHandle handleOf(int fd, const char* mode, const std::string& path) {
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) {
        const int error = errno;
        ::close(fd);
        cannotOpen(path, systemReason(error));
    }
    return FileHandle(file);
}

}  // namespace

void FileCloser::operator()(std::FILE* file) const {
    if (file) std::fclose(file);
}

FileForReading openRegularFileForReading(const std::string& path) {
    // Opening a pipe without O_NONBLOCK waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) cannotOpen(path, systemReason(errno));
    struct stat st {};
    const bool examined = ::fstat(fd, &st) == 0;
    const int error = errno;
    if (!examined || !S_ISREG(st.st_mode)) {
        ::close(fd);
        cannotOpen(path, examined ? "不是普通文件" : systemReason(error));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {handleOf(fd, "rb", path), static_cast<int64_t>(st.st_size)};
}

FileHandle createNewFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return nullptr;
        throw FileSystemError("无法创建文件 \"" + path + "\"：" + systemReason(errno));
    }
    return handleOf(fd, "wb", path);
}

}  // namespace photocheck
