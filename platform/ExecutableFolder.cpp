#include "platform/ExecutableFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/OperatorError.h"
#include "platform/Paths.h"

namespace photocheck {

std::string executableFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) throw OperatorError(std::string("找不到本程序所在的文件夹：") + std::strerror(errno));
        if (static_cast<size_t>(n) < buffer.size()) return folderPartOf(std::string(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace photocheck
