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

struct WorkFolderLock::Held {
    explicit Held(int descriptor) : fd(descriptor) {}
    ~Held() { ::close(fd); }  // closing the last descriptor releases the lock
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    const int fd;
};

WorkFolderLock::WorkFolderLock(const std::string& workFolder) {
    const std::string folder = withFinalSeparator(workFolder);
    const std::string path = folder + LockFileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw OperatorError("无法锁定工作文件夹 " + folder + "（" + systemReason(errno) + "）");
    auto held = std::make_unique<Held>(fd);
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        held_ = std::move(held);
        return;
    }
    const int error = errno;
    if (error == EWOULDBLOCK) throw WorkFolderBusy(workFolderBusyMessage(folder));
    throw OperatorError("无法锁定工作文件夹 " + folder + "（" + systemReason(error) + "）");
}

WorkFolderLock::~WorkFolderLock() = default;

}  // namespace photocheck
