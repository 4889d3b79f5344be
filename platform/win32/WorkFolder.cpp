#include "platform/WorkFolder.h"

#include <random>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

const char* const DefaultFolder = "C:\\Windows\\Temp";

[[noreturn]] void refuse(const std::string& folder, const std::string& reason) {
    throw WorkFolderError("工作文件夹 " + folder + " " + reason);
}

// The folder itself, never what a junction or a symbolic link points to.
void examine(const std::string& folder) {
    const PathStatus entry = entryStatusOf(folder);
    if (!entry.found()) refuse(folder, "无法检查：" + entry.reason);
    if (entry.kind == PathStatus::Kind::Link) refuse(folder, "是一个链接，不能使用");
    if (entry.kind != PathStatus::Kind::Folder) refuse(folder, "不是文件夹，不能使用");
}

// True when the folder was made here; false when it was there already.
bool createFolderHere(const std::string& folder) {
    if (CreateDirectoryW(win32::widePath(folder).c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return false;
    refuse(folder, "无法创建：" + win32::systemMessage(error));
}

// The run writes its four files and its lock there: a folder that cannot take a new file is refused at
// once, with the option that chooses another one.
void requireWritable(const std::string& folder) {
    const std::string probe = withFinalSeparator(folder) + "photocheck-" +
                              std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(std::random_device()()) + ".probe";
    const win32::Handle h = win32::openHandle(probe, GENERIC_WRITE, 0, CREATE_NEW,
                                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
    if (!h)
        refuse(folder,
               "无法写入（" + win32::lastErrorMessage() + "）：请用 --work-folder 指定一个可以写入的文件夹");
}

}  // namespace

std::string defaultWorkFolder() {
    const std::string folder = DefaultFolder;
    if (!createFolderHere(folder)) examine(folder);
    requireWritable(folder);
    return withFinalSeparator(folder);
}

std::string prepareWorkFolder(const std::string& named) {
    if (named.empty()) return defaultWorkFolder();
    const std::string folder = withoutFinalSeparator(named);
    if (!createFolderHere(folder)) examine(folder);
    requireWritable(folder);
    return withFinalSeparator(folder);
}

std::string workFolderAsItStands(const std::string& named) {
    const std::string folder = named.empty() ? DefaultFolder : withoutFinalSeparator(named);
    if (entryStatusOf(folder).kind != PathStatus::Kind::Missing) examine(folder);
    return withFinalSeparator(folder);
}

}  // namespace photocheck
