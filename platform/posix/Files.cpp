#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/SystemReason.h"

namespace photocheck {

std::filesystem::path nativePath(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string utf8Path(const std::filesystem::path& path) {
    return path.string();
}

CFile openCFile(const std::string& path, const char* mode) {
    return CFile(std::fopen(path.c_str(), mode));
}

int64_t sizeOfOpenFile(std::FILE* file) {
    struct stat st {};
    if (fstat(fileno(file), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

struct FileReader::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    ~Handle() { ::close(fd); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    const int fd;
};

FileReader::FileReader(const std::string& path) : path_(path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw FileSystemError("无法打开文件 " + path + "（" + systemReason(errno) + "）");
    handle_ = std::make_unique<Handle>(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw FileSystemError("无法打开文件 " + path + "（不是普通文件）");
    size_ = static_cast<uint64_t>(st.st_size);
}

FileReader::~FileReader() = default;

size_t FileReader::readAt(uint64_t offset, char* buffer, size_t count) const {
    size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(handle_->fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw FileSystemError("无法读取文件 " + path_ + "（" + systemReason(errno) + "）");
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

struct NewFile::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    ~Handle() {
        if (fd >= 0) ::close(fd);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int fd;
};

NewFile::NewFile(const std::string& path) : path_(path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        existed_ = errno == EEXIST;
        return;
    }
    handle_ = std::make_unique<Handle>(fd);
    struct stat st {};
    if (::fstat(fd, &st) == 0) standardMode_ = st.st_mode & 0777;
}

NewFile::~NewFile() {
    const bool made = created();
    handle_.reset();
    if (made && !committed_) ::unlink(path_.c_str());
}

bool NewFile::created() const {
    return handle_ != nullptr;
}

bool NewFile::write(const char* data, size_t size, std::string& reason) {
    while (size > 0) {
        const ssize_t n = ::write(handle_->fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            reason = systemReason(errno);
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool NewFile::commitAs(const std::string& target, unsigned mode, const std::optional<std::time_t>& modified) {
    const int fd = handle_->fd;
    ::fchmod(fd, static_cast<mode_t>(mode));
    if (modified) {
        const timespec times[2] = {{*modified, 0}, {*modified, 0}};
        ::futimens(fd, times);
    }
    handle_->fd = -1;
    if (::close(fd) != 0 || ::rename(path_.c_str(), target.c_str()) != 0) return false;
    committed_ = true;
    return true;
}

std::tm localTimeOf(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace photocheck
