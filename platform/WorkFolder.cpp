#include "platform/WorkFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/Paths.h"

namespace photocheck {
namespace {

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != PathSeparator) folder += PathSeparator;
    return folder;
}

}  // namespace

std::string defaultWorkFolder() {
#ifdef _WIN32
    return "C:\\Windows\\Temp\\";
#else
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && *tmp) ? tmp : "/tmp";
    const std::string folder = withSeparator(base) + "photocheck-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error("Cannot create the working folder " + folder + ": " + std::strerror(errno));
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0)
        throw std::runtime_error("Cannot examine the working folder " + folder + ": " + std::strerror(errno));
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
        throw std::runtime_error("The working folder " + folder + " is not a plain folder; refusing to use it");
    if (st.st_uid != getuid())
        throw std::runtime_error("The working folder " + folder + " belongs to another user; refusing to use it");
    if ((st.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0)
        throw std::runtime_error("Cannot make the working folder " + folder + " private");
    return withSeparator(folder);
#endif
}

std::string prepareWorkFolder(const std::string& folder) {
    if (folder.empty()) return defaultWorkFolder();
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) {
        if (mkdir(folder.c_str(), 0700) != 0)
            throw std::runtime_error("Cannot create the working folder " + folder + ": " + std::strerror(errno));
    } else if (!S_ISDIR(st.st_mode)) {
        throw std::runtime_error("The working folder " + folder + " is not a folder");
    }
    return withSeparator(folder);
}

}  // namespace photocheck
