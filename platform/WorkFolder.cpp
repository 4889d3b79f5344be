#include "platform/WorkFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Paths.h"
#include "platform/SystemReason.h"

namespace photocheck {
namespace {

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != PathSeparator) folder += PathSeparator;
    return folder;
}

std::string withoutSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == PathSeparator) folder.pop_back();
    return folder;
}

[[noreturn]] void refuse(const std::string& folder, const std::string& reason) {
    throw WorkFolderError("工作文件夹 " + folder + " " + reason);
}

std::string systemReason() {
    return photocheck::systemReason(errno);
}

// The folder itself, not what a link points to; refused unless it is a folder of the user.
struct stat examine(const std::string& folder) {
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) refuse(folder, "无法检查：" + systemReason());
    if (S_ISLNK(st.st_mode)) refuse(folder, "是一个链接，不能使用");
    if (!S_ISDIR(st.st_mode)) refuse(folder, "不是文件夹，不能使用");
    if (st.st_uid != getuid()) refuse(folder, "属于其他用户，不能使用");
    return st;
}

bool isPrivate(const struct stat& st) {
    return (st.st_mode & 077) == 0;
}

// True when the folder was made here; false when it was there already.
bool createPrivateFolder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0700) == 0) return true;
    if (errno == EEXIST) return false;
    refuse(folder, "无法创建：" + systemReason());
}

[[noreturn]] void refuseOpenToOthers(const std::string& folder) {
    refuse(folder, "其他用户也能访问，不能使用：请先把它设为只有自己能访问（chmod 700），或指定一个新文件夹");
}

// The default folder's name, nothing created.
std::string defaultWorkFolderName() {
#ifdef _WIN32
    return "C:\\Windows\\Temp";
#else
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = (tmp && *tmp) ? tmp : "/tmp";
    return withSeparator(base) + "photocheck-" + std::to_string(getuid());
#endif
}

}  // namespace

std::string defaultWorkFolder() {
    const std::string folder = defaultWorkFolderName();
#ifndef _WIN32
    createPrivateFolder(folder);
    const struct stat st = examine(folder);
    if (!isPrivate(st) && chmod(folder.c_str(), 0700) != 0) refuse(folder, "无法设为私有：" + systemReason());
#endif
    return withSeparator(folder);
}

std::string prepareWorkFolder(const std::string& named) {
    if (named.empty()) return defaultWorkFolder();
    const std::string folder = withoutSeparator(named);
    if (createPrivateFolder(folder)) return withSeparator(folder);
    if (!isPrivate(examine(folder))) refuseOpenToOthers(folder);
    return withSeparator(folder);
}

std::string workFolderAsItStands(const std::string& named) {
    const std::string folder = named.empty() ? defaultWorkFolderName() : withoutSeparator(named);
    struct stat st {};
    const bool missing = lstat(folder.c_str(), &st) != 0 && errno == ENOENT;
    if (!missing && !isPrivate(examine(folder))) refuseOpenToOthers(folder);
    return withSeparator(folder);
}

}  // namespace photocheck
