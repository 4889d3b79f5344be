#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/Paths.h"

namespace photocheck {
namespace {

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
    // Closes now and reports whether the close succeeded (a write may fail only here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != PathSeparator) folder += PathSeparator;
    return folder;
}

bool isDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

// The names in one folder, without "." and ".."; empty when the folder cannot be read.
std::vector<std::string> entryNames(const std::string& folder) {
    std::vector<std::string> names;
    const DirHandle dir(opendir(folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (!isDotEntry(name)) names.push_back(std::move(name));
    }
    return names;
}

// Upper-cased names compared byte by byte, as an NTFS volume enumerates a folder; names that differ
// only in letter case keep a fixed order among themselves.
void sortLikeNtfs(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = asciiUpper(a), ub = asciiUpper(b);
        return ua != ub ? ua < ub : a < b;
    });
}

enum class EntryKind { Folder, File, Skipped };

// A real folder is walked; a link to a folder is not. A dangling link counts as a file: it was
// listed, and its check reports that it cannot be read.
EntryKind kindOf(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return EntryKind::Skipped;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    if (!S_ISLNK(st.st_mode)) return EntryKind::Skipped;
    struct stat target {};
    if (stat(path.c_str(), &target) != 0) return EntryKind::File;
    return S_ISREG(target.st_mode) ? EntryKind::File : EntryKind::Skipped;
}

bool hasExtension(const std::string& name, const std::string& extension) {
    if (extension == ".*") return true;
    const auto dot = name.find_last_of('.');
    return dot != std::string::npos && asciiUpper(name.substr(dot)) == asciiUpper(extension);
}

void walk(const std::string& folder, const std::string& extension, std::vector<std::string>& list) {
    std::vector<std::string> names = entryNames(folder);
    sortLikeNtfs(names);
    for (const std::string& name : names) {
        const std::string path = folder + name;
        switch (kindOf(path)) {
            case EntryKind::Folder:
                walk(withSeparator(path), extension, list);
                break;
            case EntryKind::File:
                if (hasExtension(name, extension)) list.push_back(path);
                break;
            case EntryKind::Skipped:
                break;
        }
    }
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool copyContent(int from, int to) {
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

}  // namespace

bool folderExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void createFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) != 0)
        throw FileSystemError("无法创建文件夹 " + path + "：" + std::strerror(errno));
}

std::optional<std::string> canonicalPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

std::vector<std::string> ListFilesRecursive(const std::string& folder, const std::string& extension) {
    std::vector<std::string> list;
    if (!folderExists(folder)) return list;
    walk(withSeparator(folder), extension, list);
    return list;
}

bool EmptyFolderTree(const std::string& folder) {
    const std::string base = withSeparator(folder);
    for (const std::string& name : entryNames(base)) {
        const std::string path = base + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode))
            EmptyFolderTree(path);
        else
            unlink(path.c_str());
    }
    return true;
}

bool copyFileNoOverwrite(const std::string& source, const std::string& target) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) return false;
    struct stat st {};
    if (fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const mode_t mode = st.st_mode & 0777;
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (!out.valid()) return false;
    const bool copied = copyContent(in.get(), out.get());
    if (copied) keepModeAndTimes(out.get(), mode, st);
    if (!out.close() || !copied) {
        unlink(target.c_str());
        return false;
    }
    return true;
}

}  // namespace photocheck
