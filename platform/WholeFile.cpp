#include "platform/WholeFile.h"

#include "platform/FileSystemError.h"

namespace photocheck {

std::ostream& WholeFile::stream() {
    return *stream_;
}

std::vector<std::string> WholeFile::pathsWritten() const {
    std::vector<std::string> paths{shown_};
    if (!hidden_.empty()) paths.push_back(hidden_);
    return paths;
}

void WholeFile::fail(const std::string& reason) const {
    throw FileSystemError("无法写入 " + what_ + " " + shown_ + "（" + reason + "）");
}

}  // namespace photocheck
