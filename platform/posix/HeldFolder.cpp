#include "platform/HeldFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemReason.h"

namespace photocheck {
namespace {

constexpr size_t UniquePartLength = 6;  // mkdtemp's "XXXXXX"

bool lockWithoutWaiting(int fd) {
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

// The names in a folder that begin with `start` and are the unique part longer.
std::vector<std::string> namesMadeFrom(const std::string& folder, const std::string& start) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.size() == start.size() + UniquePartLength && name.compare(0, start.size(), start) == 0)
            names.push_back(name);
    }
    return names;
}

}  // namespace

HeldFolder::HeldFolder(const std::string& prefix) {
    std::string pattern = prefix + "XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw FileSystemError("无法在 " + folderPartOf(prefix) + " 中建立文件夹：" + systemReason(errno));
    path_ = pattern;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    held_ = fd;
    if (fd < 0 || !lockWithoutWaiting(fd)) {
        const int error = errno;
        removeFolderTree(path_);
        if (fd >= 0) ::close(fd);
        throw FileSystemError("无法使用文件夹 " + path_ + "：" + systemReason(error));
    }
}

HeldFolder::~HeldFolder() {
    removeFolderTree(path_);
    ::close(static_cast<int>(held_));  // the lock goes with the last descriptor
}

void removeAbandonedFolders(const std::string& prefix) {
    const std::string folder = folderPartOf(prefix);
    const std::string start = fileNameOf(prefix);
    for (const std::string& name : namesMadeFrom(folder.empty() ? "." : folder, start)) {
        const std::string path = folder + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        if (lockWithoutWaiting(fd)) removeFolderTree(path);  // nobody holds it
        ::close(fd);
    }
}

}  // namespace photocheck
