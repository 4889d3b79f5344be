#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/FileSystemError.h"

namespace photocheck {

struct FileCloser {
    void operator()(std::FILE* file) const;
};
// A file opened through the C library, closed with the handle.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A file opened for reading, and its size in bytes when it was opened.
struct FileForReading {
    FileHandle handle;
    int64_t size = 0;
};

// Opens a file for reading without ever waiting: a photo that is a pipe (which would wait for a
// writer for ever), a device, a socket or a folder is refused unread. Raises FileSystemError,
// "无法打开文件 "PATH"" and the reason in brackets ("不是普通文件", or the system's).
FileForReading openRegularFileForReading(const std::string& path);

// Creates a new file for writing, never replacing what is there: none when the path already names
// something (a file, a folder, a link, dangling or not, which is not followed). Raises
// FileSystemError when the file cannot be created for another reason.
FileHandle createNewFile(const std::string& path);

}  // namespace photocheck
