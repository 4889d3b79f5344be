#include "platform/ExecutableFolder.h"

#include <stdexcept>

#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace photocheck {

std::string executableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) throw OperatorError("找不到本程序所在的文件夹：" + win32::lastErrorMessage());
        if (length < buffer.size()) return folderPartOf(win32::narrow(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace photocheck
