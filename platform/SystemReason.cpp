#include "platform/SystemReason.h"

#include <cerrno>
#include <cstring>

namespace photocheck {
namespace {

const char* explanationOf(int error) {
    switch (error) {
        case ENOENT:
            return "文件或文件夹不存在";
        case EACCES:
        case EPERM:
            return "没有访问权限";
        case ENOSPC:
            return "磁盘空间已满";
        case EFBIG:
            return "文件太大";
#ifdef EDQUOT  // not in the Windows C library
        case EDQUOT:
            return "超出磁盘配额";
#endif
        case EROFS:
            return "磁盘是只读的";
        case EEXIST:
            return "已有同名的文件或文件夹";
        case ENOTDIR:
            return "路径中有一部分不是文件夹";
        case EISDIR:
            return "这是一个文件夹";
        case ENAMETOOLONG:
            return "路径太长";
        case ELOOP:
            return "链接层数太多";
        case EIO:
            return "读写磁盘出错";
        case EBUSY:
            return "正被占用";
        case ENOTEMPTY:
            return "文件夹不是空的";
        case EMFILE:
        case ENFILE:
            return "同时打开的文件太多";
        case ENOMEM:
            return "内存不足";
        case EXDEV:
            return "不在同一个磁盘上";
        default:
            return "系统错误";
    }
}

}  // namespace

std::string systemReason(int error) {
    return explainedReason(error, std::strerror(error));
}

std::string explainedReason(int error, const std::string& systemText) {
    return std::string(explanationOf(error)) + "：" + systemText;
}

}  // namespace photocheck
