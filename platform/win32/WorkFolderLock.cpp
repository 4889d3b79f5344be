#include "platform/WorkFolderLock.h"

#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace photocheck {

// The lock lives as long as the handle: the system releases it when the handle is closed or the
// process ends, however it ends.
struct WorkFolderLock::Held {
    win32::Handle file;
};

WorkFolderLock::WorkFolderLock(const std::string& workFolder) {
    const std::string folder = withFinalSeparator(workFolder);
    // A link standing at the lock file's name is opened itself, never followed.
    win32::Handle file = win32::openHandle(folder + LockFileName, GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file) throw OperatorError("无法锁定工作文件夹 " + folder + "（" + win32::lastErrorMessage() + "）");
    OVERLAPPED whole{};
    if (LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        held_ = std::make_unique<Held>(Held{std::move(file)});
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        throw WorkFolderBusy(workFolderBusyMessage(folder));
    throw OperatorError("无法锁定工作文件夹 " + folder + "（" + win32::systemMessage(error) + "）");
}

WorkFolderLock::~WorkFolderLock() = default;

}  // namespace photocheck
