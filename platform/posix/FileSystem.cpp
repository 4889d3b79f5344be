#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string_view>

#include "platform/FolderWalk.h"
#include "platform/Paths.h"
#include "platform/SystemReason.h"

namespace photocheck {
namespace {

using folderwalk::FolderNames;

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void swap(FileDescriptor& other) { std::swap(fd_, other.fd_); }
    // Closes now and reports whether the close succeeded (a write may fail only here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

void tell(std::string* reason, int error) {
    if (reason) *reason = systemReason(error);
}

// The reason an entry could not be examined or a folder not read, as the operator is told it.
std::string unreadableReason(int error) {
    if (error == ENAMETOOLONG) return "路径超过系统允许的长度（" + std::string(std::strerror(error)) + "）";
    return "无法读取（" + systemReason(error) + "）";
}

PathStatus statusFrom(int rc, const struct stat& st) {
    PathStatus status;
    if (rc != 0) {
        status.kind =
            errno == ENOENT || errno == ENOTDIR ? PathStatus::Kind::Missing : PathStatus::Kind::Unexamined;
        status.reason = systemReason(errno);
        status.systemText = std::strerror(errno);
        return status;
    }
    if (S_ISDIR(st.st_mode))
        status.kind = PathStatus::Kind::Folder;
    else if (S_ISREG(st.st_mode))
        status.kind = PathStatus::Kind::File;
    else if (S_ISLNK(st.st_mode))
        status.kind = PathStatus::Kind::Link;
    else
        status.kind = PathStatus::Kind::Other;
    status.size = static_cast<int64_t>(st.st_size);
    return status;
}

// The names in an open folder, without "." and ".."; the folder is closed afterwards. False when the
// folder cannot be read to its end, with the reason in `error`.
bool namesOf(DIR* opened, FolderNames& names, int& error) {
    const DirHandle dir(opened);
    error = 0;
    if (!dir) {
        error = errno;
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) break;
        if (!folderwalk::isDotEntry(entry->d_name)) names.add(entry->d_name);
    }
    if (errno != 0) {
        error = errno;
        names.clear();
        return false;
    }
    return true;
}

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId& o) const { return device == o.device && inode == o.inode; }
};

FolderId idOf(const struct stat& st) {
    return {st.st_dev, st.st_ino};
}

// A second descriptor of an open folder for reading its names, so that the first stays open for the
// deletions; nothing (errno set) when it cannot be had.
DIR* listingOf(int dirFd) {
    const int copy = ::dup(dirFd);
    if (copy < 0) return nullptr;
    DIR* dir = fdopendir(copy);
    if (!dir) {
        const int error = errno;
        ::close(copy);
        errno = error;
    }
    return dir;
}

std::optional<FolderId> folderIdOf(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return std::nullopt;
    return FolderId{st.st_dev, st.st_ino};
}

// Goes through a folder tree from its top folder without recursion, however deep the tree: it holds
// the descriptor of the folder it is in, and per level above it only the folder's name, identity and
// the names of its subfolders still to go through. It goes back up by "..", and stops where ".." is
// not the folder it came from (a folder moved meanwhile), so it never leaves the tree. Every step goes
// from a folder's descriptor, so no link is followed. In every folder the files (and links and
// special files) are deleted; with RemoveFolders the emptied subfolders go too, the top one stays.
class TreeEmptier {
  public:
    enum class Folders { Keep, Remove };

    TreeEmptier(int topFd, std::string topPath, Folders folders, const PassedOverReport& onFailure,
                const StopRequest& stopRequested = {})
        : current_(topFd),
          path_(std::move(topPath)),
          folders_(folders),
          onFailure_(onFailure),
          stopRequested_(stopRequested) {}

    void run() {
        const auto top = folderIdOf(current_.get());
        if (!top) return fail(path_, unreadableReason(errno));
        levels_.push_back({*top, {}, {}});
        if (!enterCurrent()) return;
        while (!stopped()) {
            Level& level = levels_.back();
            if (!level.subfolders.empty()) {
                const std::string name = std::move(level.subfolders.back());
                level.subfolders.pop_back();
                descendInto(name);
            } else if (levels_.size() == 1 || !ascend()) {
                return;
            }
        }
    }

  private:
    struct Level {
        FolderId id;
        std::string name;                     // in the folder above
        std::vector<std::string> subfolders;  // still to go through, the next one last
    };

    void fail(const std::string& path, const std::string& reason) const {
        if (onFailure_) onFailure_(path, reason);
    }
    bool stopped() const { return stopRequested_ && stopRequested_(); }

    // Deletes what is no folder in the current folder and notes its subfolders. False when the folder
    // cannot be read.
    bool enterCurrent() {
        int error = 0;
        FolderNames names;
        if (!namesOf(listingOf(current_.get()), names, error)) {
            fail(path_, "无法读取此文件夹（" + systemReason(error) + "）");
            return false;
        }
        names.sortLikeNtfs();
        std::vector<std::string>& subfolders = levels_.back().subfolders;
        for (size_t i = 0; i < names.size() && !stopped(); ++i) {
            const std::string name(names[i]);
            struct stat st {};
            if (fstatat(current_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) fail(path_ + name, unreadableReason(errno));
            } else if (S_ISDIR(st.st_mode)) {
                subfolders.push_back(name);
            } else if (unlinkat(current_.get(), name.c_str(), 0) != 0 && errno != ENOENT) {
                fail(path_ + name, "无法删除（" + systemReason(errno) + "）");
            }
        }
        std::reverse(subfolders.begin(), subfolders.end());
        return true;
    }

    void descendInto(const std::string& name) {
        const int sub = openat(current_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) return fail(path_ + name, "无法打开此文件夹（" + systemReason(errno) + "）");
        FileDescriptor opened(sub);
        const auto id = folderIdOf(sub);
        if (!id) return fail(path_ + name, unreadableReason(errno));
        current_.swap(opened);
        path_ += name;
        path_ += PathSeparator;
        levels_.push_back({*id, name, {}});
        if (!enterCurrent()) levels_.back().subfolders.clear();  // nothing below it can be reached
    }

    // Back to the folder above, and the folder left goes when folders are removed. False when ".." is
    // not the folder above any more.
    bool ascend() {
        const std::string name = std::move(levels_.back().name);
        levels_.pop_back();
        FileDescriptor above(openat(current_.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const auto id = above.valid() ? folderIdOf(above.get()) : std::nullopt;
        if (!id || !(*id == levels_.back().id)) {
            fail(path_, "此文件夹在清空时被移走，其上的文件夹没有再清空");
            return false;
        }
        current_.swap(above);
        path_.resize(path_.size() - name.size() - 1);
        if (folders_ == Folders::Remove && unlinkat(current_.get(), name.c_str(), AT_REMOVEDIR) != 0 &&
            errno != ENOENT)
            fail(path_ + name, "无法删除（" + systemReason(errno) + "）");
        return true;
    }

    FileDescriptor current_;
    std::string path_;  // of the current folder, with its final separator
    const Folders folders_;
    const PassedOverReport& onFailure_;
    const StopRequest stopRequested_;
    std::vector<Level> levels_;
};

// The folder at `given` opened for emptying, not followed when it is a link; an invalid descriptor
// (reported unless the folder does not exist) when it cannot be had.
int openTopFolder(const std::string& given, std::string& folder, const PassedOverReport& onFailure) {
    // Without its final separators, so that a link standing for the folder is not followed.
    folder = given;
    while (folder.size() > 1 && folder.back() == PathSeparator) folder.pop_back();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT && onFailure)
        onFailure(folder, "无法打开此文件夹（" + systemReason(errno) + "）");
    return fd;
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Lets the kernel copy the first `size` bytes (the size the source had when opened), as a reflink or an
// in-kernel copy, where the file systems offer it. It stops early where the kernel copy is not offered
// (between file systems of different kinds, for one) or at any failure, which the reads and writes after
// it meet again and report.
void copyInKernel(int from, int to, off_t size) {
    for (off_t copied = 0; copied < size;) {
        const ssize_t n =
            ::copy_file_range(from, nullptr, to, nullptr, static_cast<size_t>(size - copied), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        copied += n;
    }
}

// False with errno set when a read or a write fails. What the kernel copy left (all of it where there is
// none, what the source has grown by since) is read and written here, to the end of the source.
bool copyContent(int from, int to, off_t size) {
    copyInKernel(from, to, size);
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!writeAll(to, buffer, static_cast<size_t>(n))) return false;
    }
}

// The permission bits and times of the source, as far as the target's file system allows.
void keepModeAndTimes(int target, mode_t mode, const struct stat& source) {
    const timespec times[2] = {source.st_atim, source.st_mtim};
    fchmod(target, mode);
    futimens(target, times);
}

std::string randomLetters(int count) {
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string text;
    for (int i = 0; i < count; ++i) text += Letters[random() % (sizeof Letters - 1)];
    return text;
}

}  // namespace

namespace folderwalk {

Entry examine(const std::string& path) {
    Entry e;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        e.reason = unreadableReason(errno);
        return e;
    }
    e.id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    if (S_ISDIR(st.st_mode)) {
        e.kind = Kind::Folder;
    } else if (S_ISREG(st.st_mode)) {
        e.kind = Kind::File;
    } else if (!S_ISLNK(st.st_mode)) {
        e.kind = Kind::Special;
    } else {
        struct stat target {};
        if (stat(path.c_str(), &target) != 0)
            e.kind = Kind::File;
        else if (S_ISDIR(target.st_mode))
            e.kind = Kind::FolderLink;
        else
            e.kind = S_ISREG(target.st_mode) ? Kind::File : Kind::Special;
    }
    return e;
}

std::optional<Identity> identityOf(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) return std::nullopt;
    return Identity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

bool readNames(const std::string& folder, FolderNames& names, std::string& reason) {
    int error = 0;
    if (namesOf(opendir(folder.c_str()), names, error)) return true;
    reason = unreadableReason(error);
    return false;
}

}  // namespace folderwalk

PathStatus statusOf(const std::string& path) {
    struct stat st {};
    const int rc = stat(path.c_str(), &st);
    return statusFrom(rc, st);
}

PathStatus entryStatusOf(const std::string& path) {
    struct stat st {};
    const int rc = lstat(path.c_str(), &st);
    return statusFrom(rc, st);
}

bool folderExists(const std::string& path) {
    return statusOf(path).kind == PathStatus::Kind::Folder;
}

bool fileExists(const std::string& path) {
    const PathStatus::Kind kind = statusOf(path).kind;
    return kind != PathStatus::Kind::Missing && kind != PathStatus::Kind::Unexamined &&
           kind != PathStatus::Kind::Folder;
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

bool isLink(const std::string& path) {
    return entryStatusOf(path).kind == PathStatus::Kind::Link;
}

void createFolder(const std::string& path, FolderAccess access) {
    if (mkdir(path.c_str(), access == FolderAccess::Private ? 0700 : 0777) != 0)
        throw FileSystemError("无法创建文件夹 " + path + "（" + systemReason(errno) + "）");
}

bool tryCreateFolder(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0;
}

void createFolders(const std::string& path) {
    const std::string folder = withoutFinalSeparator(path);
    if (folder.empty() || folderExists(folder)) return;
    const std::string parent = withoutFinalSeparator(folderPartOf(folder));
    if (!parent.empty() && parent != folder) createFolders(parent);
    if (mkdir(folder.c_str(), 0777) != 0 && !(errno == EEXIST && folderExists(folder)))
        throw FileSystemError("无法创建文件夹 " + folder + "（" + systemReason(errno) + "）");
}

std::string createUniqueFolder(const std::string& prefix) {
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string folder = prefix + randomLetters(6);
        if (mkdir(folder.c_str(), 0700) == 0) return folder;
        error = errno;
        if (error != EEXIST) break;
    }
    throw FileSystemError("无法创建文件夹 " + prefix + "…（" + systemReason(error) + "）");
}

std::string temporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return withFinalSeparator(tmp && *tmp ? tmp : "/tmp");
}

bool removeFile(const std::string& path, std::string* reason) {
    if (::unlink(path.c_str()) == 0) return true;
    tell(reason, errno);
    return false;
}

void removeTree(const std::string& path) {
    if (entryStatusOf(path).kind != PathStatus::Kind::Folder) {
        ::unlink(path.c_str());
        return;
    }
    folderwalk::FolderNames names;
    std::string ignored;
    if (folderwalk::readNames(path, names, ignored))
        for (size_t i = 0; i < names.size(); ++i) removeTree(joinPath(path, std::string(names[i])));
    ::rmdir(path.c_str());
}

bool replaceFile(const std::string& from, const std::string& to, std::string* reason) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    tell(reason, errno);
    return false;
}

void setPermissions(const std::string& path, unsigned mode) {
    ::chmod(path.c_str(), static_cast<mode_t>(mode));
}

bool removeUnwritableFile(const std::string& path, std::optional<int64_t> largest) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (largest && st.st_size > *largest) return false;
    const FileDescriptor writable(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    return !writable.valid() && unlink(path.c_str()) == 0;
}

bool sameEntry(const std::string& path, const std::string& other) {
    struct stat a {};
    struct stat b {};
    if (stat(path.c_str(), &a) == 0) return stat(other.c_str(), &b) == 0 && idOf(a) == idOf(b);
    const std::string folder = folderPartOf(path), otherFolder = folderPartOf(other);
    return fileNameOf(path) == fileNameOf(other) && stat(folder.empty() ? "." : folder.c_str(), &a) == 0 &&
           stat(otherFolder.empty() ? "." : otherFolder.c_str(), &b) == 0 && idOf(a) == idOf(b);
}

std::string absolutePath(const std::string& path) {
    if (rootLengthOf(path) > 0) return cleanPath(path);
    const std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    if (!cwd) throw FileSystemError("无法确定当前文件夹（" + systemReason(errno) + "）");
    return cleanPath(std::string(cwd.get()) + PathSeparator + path);
}

std::optional<std::string> canonicalPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

void EmptyFolderTree(const std::string& given, const PassedOverReport& onFailure,
                     const StopRequest& stopRequested) {
    std::string folder;
    const int fd = openTopFolder(given, folder, onFailure);
    if (fd < 0) return;
    TreeEmptier(fd, withFinalSeparator(folder), TreeEmptier::Folders::Keep, onFailure, stopRequested).run();
}

void removeFolderTree(const std::string& given, const PassedOverReport& onFailure) {
    std::string folder;
    const int fd = openTopFolder(given, folder, onFailure);
    if (fd < 0) return;
    TreeEmptier(fd, withFinalSeparator(folder), TreeEmptier::Folders::Remove, onFailure).run();
    if (::rmdir(folder.c_str()) != 0 && errno != ENOENT && onFailure)
        onFailure(folder, "无法删除（" + systemReason(errno) + "）");
}

CopyOutcome copyFileNoOverwrite(const std::string& source, const std::string& target) {
    using Kind = CopyOutcome::Kind;
    const auto failed = [](const char* what, int error) {
        return CopyOutcome{Kind::Failed, std::string(what) + "（" + systemReason(error) + "）"};
    };
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in.valid()) return failed("无法读取原文件", errno);
    struct stat st {};
    if (fstat(in.get(), &st) != 0) return failed("无法读取原文件", errno);
    if (!S_ISREG(st.st_mode)) return {Kind::Failed, "原文件不是普通文件"};
    const mode_t mode = st.st_mode & 0777;
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (!out.valid()) {
        if (errno == EEXIST) return {Kind::TargetExists, {}};
        return failed("无法创建副本", errno);
    }
    const bool copied = copyContent(in.get(), out.get(), st.st_size);
    const int copyError = errno;
    if (copied) keepModeAndTimes(out.get(), mode, st);
    const bool closed = out.close();
    const int closeError = errno;
    if (!copied || !closed) {
        unlink(target.c_str());
        return failed("复制时出错", copied ? closeError : copyError);
    }
    return {Kind::Made, {}};
}

}  // namespace photocheck
