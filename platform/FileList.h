#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace photocheck {

// The files of a folder walk in walk order, held compactly: each folder once, the file names one after
// the other in a single text, so that a list of 100,000 files takes about 2 MB instead of some 15 MB
// of separate strings. Paths are put together when asked for.
class FileList {
  public:
    // The list of the given paths, each cut after its last separator.
    static FileList of(const std::vector<std::string>& paths);

    // A folder the next files lie in, with its final separator; gives its number for addFile.
    uint32_t addFolder(std::string folder);
    void addFile(uint32_t folder, std::string_view name);

    size_t size() const { return files_.size(); }
    bool empty() const { return files_.empty(); }
    std::string path(size_t i) const;        // folder + name
    std::string_view name(size_t i) const;   // the file name
    std::vector<std::string> paths() const;  // every path, in order

  private:
    struct File {
        uint32_t folder;
        uint32_t nameEnd;  // the name runs from the previous file's end to here
    };

    std::vector<std::string> folders_;
    std::string names_;
    std::vector<File> files_;
};

}  // namespace photocheck
