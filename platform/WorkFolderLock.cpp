#include "platform/WorkFolderLock.h"

namespace photocheck {

std::string workFolderBusyMessage(const std::string& folder) {
    return "另一个检测正在使用工作文件夹 " + folder + "，不能同时开始第二个；请等它结束后再开始";
}

}  // namespace photocheck
