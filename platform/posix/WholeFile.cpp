#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <streambuf>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemReason.h"

namespace photocheck {

// Hands what the stream is given to the file descriptor in blocks; a failed write is kept in `error`.
class WholeFile::Buffer : public std::streambuf {
  public:
    explicit Buffer(int fd) : fd_(fd) { setp(block_, block_ + sizeof block_); }
    ~Buffer() override {
        if (fd_ >= 0) ::close(fd_);
    }
    int error = 0;

    bool flushToDisk() { return ::fsync(fd_) == 0 || (error = errno, false); }
    bool close() { return ::close(std::exchange(fd_, -1)) == 0 || (error = errno, false); }

  protected:
    int overflow(int c) override {
        if (!drain()) return traits_type::eof();
        if (c != traits_type::eof()) sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        for (const char* at = pbase(); at < pptr();) {
            const ssize_t n = ::write(fd_, at, static_cast<size_t>(pptr() - at));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = errno;
                return false;
            }
            at += n;
        }
        setp(block_, block_ + sizeof block_);
        return true;
    }

    int fd_;
    char block_[64 * 1024];
};

namespace {

// Beside the target, hidden; the process id and the attempt make the name unique, O_EXCL makes sure.
std::string hiddenName(const std::string& path, int attempt) {
    return folderPartOf(path) + "." + fileNameOf(path) + "." + std::to_string(::getpid()) + "-" +
           std::to_string(attempt);
}

constexpr int HiddenNameAttempts = 100;

}  // namespace

WholeFile::WholeFile(const std::string& path, const std::string& what)
    : path_(path), shown_(path), what_(what) {
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    int fd = -1;
    if (exists && !S_ISREG(st.st_mode)) {
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) fail(systemReason(errno));
    } else {
        if (exists && ::access(path.c_str(), W_OK) != 0) fail(systemReason(errno));
        if (exists) path_ = canonicalPath(path).value_or(path);
        for (int attempt = 0; fd < 0; ++attempt) {
            hidden_ = hiddenName(path_, attempt);
            fd = ::open(hidden_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            const int error = errno;
            if (fd < 0 && (error != EEXIST || attempt == HiddenNameAttempts)) {
                hidden_.clear();
                fail(systemReason(error));
            }
        }
        if (exists) ::fchmod(fd, st.st_mode & 07777);
    }
    buffer_ = std::make_unique<Buffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

WholeFile::~WholeFile() {
    stream_.reset();
    discard();
}

void WholeFile::commit() {
    stream_->flush();
    if (!*stream_) fail(systemReason(buffer_->error));
    if (!hidden_.empty() && !buffer_->flushToDisk()) fail(systemReason(buffer_->error));
    if (!buffer_->close()) fail(systemReason(buffer_->error));
    if (hidden_.empty()) return;
    if (::rename(hidden_.c_str(), path_.c_str()) != 0) fail(systemReason(errno));
    hidden_.clear();
}

void WholeFile::discard() {
    buffer_.reset();
    if (!hidden_.empty()) ::unlink(hidden_.c_str());
}

}  // namespace photocheck
