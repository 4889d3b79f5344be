#include "platform/WholeFile.h"

#include <streambuf>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace photocheck {

// Hands what the stream is given to the file handle in blocks; a failed write is kept in `error`.
class WholeFile::Buffer : public std::streambuf {
  public:
    explicit Buffer(win32::Handle file) : file_(std::move(file)) { setp(block_, block_ + sizeof block_); }
    DWORD error = 0;

    bool flushToDisk() { return FlushFileBuffers(file_.get()) || (error = GetLastError(), false); }
    bool close() { return CloseHandle(file_.release()) || (error = GetLastError(), false); }

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
            DWORD n = 0;
            if (!WriteFile(file_.get(), at, static_cast<DWORD>(pptr() - at), &n, nullptr)) {
                error = GetLastError();
                return false;
            }
            at += n;
        }
        setp(block_, block_ + sizeof block_);
        return true;
    }

    win32::Handle file_;
    char block_[64 * 1024];
};

namespace {

// Beside the target, hidden by its leading dot as on Linux; the process id and the attempt make the
// name unique, CREATE_NEW makes sure.
std::string hiddenName(const std::string& path, int attempt) {
    return folderPartOf(path) + "." + fileNameOf(path) + "." + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(attempt);
}

constexpr int HiddenNameAttempts = 100;
constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

}  // namespace

WholeFile::WholeFile(const std::string& path, const std::string& what)
    : path_(path), shown_(path), what_(what) {
    const PathStatus status = statusOf(path);
    win32::Handle file;
    if (status.found() && status.kind != PathStatus::Kind::File) {
        file = win32::openHandle(path, GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING, 0);
        if (!file) fail(win32::lastErrorMessage());
    } else {
        if (status.found()) {
            // Opening it for writing tells whether it may be written (read-only, access rules).
            if (!win32::openHandle(path, GENERIC_WRITE, ShareReadWrite | FILE_SHARE_DELETE, OPEN_EXISTING, 0))
                fail(win32::lastErrorMessage());
            path_ = canonicalPath(path).value_or(path);
        }
        for (int attempt = 0; !file; ++attempt) {
            hidden_ = hiddenName(path_, attempt);
            file = win32::openHandle(hidden_, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
            const DWORD error = GetLastError();
            if (!file && (error != ERROR_FILE_EXISTS || attempt == HiddenNameAttempts)) {
                hidden_.clear();
                fail(win32::systemMessage(error));
            }
        }
    }
    buffer_ = std::make_unique<Buffer>(std::move(file));
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

WholeFile::~WholeFile() {
    stream_.reset();
    discard();
}

void WholeFile::commit() {
    stream_->flush();
    if (!*stream_) fail(win32::systemMessage(buffer_->error));
    if (!hidden_.empty() && !buffer_->flushToDisk()) fail(win32::systemMessage(buffer_->error));
    if (!buffer_->close()) fail(win32::systemMessage(buffer_->error));
    if (hidden_.empty()) return;
    // An existing target keeps its attributes and access rules: ReplaceFileW carries them over.
    const std::wstring target = win32::widePath(path_);
    const std::wstring written = win32::widePath(hidden_);
    const bool replaced = pathExists(path_)
                              ? ReplaceFileW(target.c_str(), written.c_str(), nullptr,
                                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                              : MoveFileExW(written.c_str(), target.c_str(), 0) != 0;
    if (!replaced) fail(win32::lastErrorMessage());
    hidden_.clear();
}

void WholeFile::discard() {
    buffer_.reset();
    if (!hidden_.empty()) removeFile(hidden_);
}

}  // namespace photocheck
