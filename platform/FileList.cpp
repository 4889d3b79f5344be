#include "platform/FileList.h"

#include <limits>
#include <stdexcept>

#include "platform/Paths.h"

namespace photocheck {

FileList FileList::of(const std::vector<std::string>& paths) {
    FileList list;
    for (const std::string& path : paths) {
        const size_t cut = path.find_last_of(PathSeparators) + 1;  // 0 when there is no separator
        const std::string folder = path.substr(0, cut);
        if (list.folders_.empty() || list.folders_.back() != folder) list.addFolder(folder);
        list.addFile(static_cast<uint32_t>(list.folders_.size() - 1), std::string_view(path).substr(cut));
    }
    return list;
}

uint32_t FileList::addFolder(std::string folder) {
    if (folders_.size() >= std::numeric_limits<uint32_t>::max()) throw std::length_error("too many folders");
    folders_.push_back(std::move(folder));
    return static_cast<uint32_t>(folders_.size() - 1);
}

void FileList::addFile(uint32_t folder, std::string_view name) {
    if (names_.size() + name.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("the file names of the folder are too long to list");
    names_.append(name);
    files_.push_back({folder, static_cast<uint32_t>(names_.size())});
}

std::string_view FileList::name(size_t i) const {
    const uint32_t begin = i == 0 ? 0 : files_.at(i - 1).nameEnd;
    return std::string_view(names_).substr(begin, files_.at(i).nameEnd - begin);
}

std::string FileList::path(size_t i) const {
    const std::string_view file = name(i);
    std::string path = folders_[files_[i].folder];
    path.append(file);
    return path;
}

std::vector<std::string> FileList::paths() const {
    std::vector<std::string> all;
    all.reserve(size());
    for (size_t i = 0; i < size(); ++i) all.push_back(path(i));
    return all;
}

}  // namespace photocheck
