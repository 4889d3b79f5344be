#include "platform/WorkFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "platform/SystemReason.h"

namespace photocheck {

WorkFolderLock::WorkFolderLock(const std::string& workFolder) {
    const std::string folder =
        !workFolder.empty() && workFolder.back() == PathSeparator ? workFolder : workFolder + PathSeparator;
    const std::string path = folder + LockFileName;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) throw OperatorError("无法锁定工作文件夹 " + folder + "（" + systemReason(errno) + "）");
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) return;
    const int error = errno;
    ::close(fd_);
    if (error == EWOULDBLOCK)
        throw WorkFolderBusy("另一个检测正在使用工作文件夹 " + folder +
                             "，不能同时开始第二个；请等它结束后再开始");
    throw OperatorError("无法锁定工作文件夹 " + folder + "（" + systemReason(error) + "）");
}

WorkFolderLock::~WorkFolderLock() {
    ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace photocheck
