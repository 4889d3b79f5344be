#include "platform/FolderWalk.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace photocheck {
namespace folderwalk {
namespace {

unsigned char upper(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

bool ntfsBefore(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (upper(a[i]) != upper(b[i])) return upper(a[i]) < upper(b[i]);
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace

void FolderNames::add(std::string_view name) {
    const size_t begin = text_.size();
    text_ += name;
    spans_.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(text_.size() - begin)});
}

void FolderNames::clear() {
    text_.clear();
    spans_.clear();
}

void FolderNames::sortLikeNtfs() {
    std::sort(spans_.begin(), spans_.end(),
              [this](const Span& a, const Span& b) { return ntfsBefore(of(a), of(b)); });
}

bool isDotEntry(std::string_view name) {
    return name == "." || name == "..";
}

bool hasExtension(std::string_view name, const std::string& extension) {
    if (extension == ".*") return true;
    const auto dot = name.find_last_of('.');
    return dot != std::string_view::npos &&
           asciiUpper(std::string(name.substr(dot))) == asciiUpper(extension);
}

}  // namespace folderwalk

namespace {

using folderwalk::Identity;
using folderwalk::Kind;

class Walker {
  public:
    Walker(const std::string& extension, const FolderWalk& options)
        : extension_(extension), options_(options) {
        for (const std::string& given : options.leftOut) {
            const std::string path = withoutFinalSeparator(given);
            if (path.empty()) continue;
            if (const auto id = folderwalk::identityOf(path)) leftOut_.push_back(*id);
            const std::string parent = folderPartOf(path);
            if (const auto id = folderwalk::identityOf(parent.empty() ? "." : parent))
                leftOutNames_.push_back({*id, fileNameOf(path)});
        }
    }

    void walk(const std::string& folder, const Identity& id, FileList& list) {
        if (isLeftOut(id)) return;
        folderwalk::FolderNames names;
        std::string reason;
        if (!folderwalk::readNames(folder, names, reason)) return passedOver(folder, reason);
        names.sortLikeNtfs();
        std::optional<uint32_t> folderNumber;  // given when the folder's first file is listed
        for (size_t i = 0; i < names.size() && !stopped(); ++i) {
            const std::string_view name = names[i];
            if (isLeftOut(id, name)) continue;
            std::string path = folder;
            path.append(name);
            const folderwalk::Entry entry = folderwalk::examine(path);
            switch (entry.kind) {
                case Kind::Folder:
                    walk(withFinalSeparator(path), entry.id, list);
                    break;
                case Kind::File:
                    if (!folderwalk::hasExtension(name, extension_) || isLeftOut(entry.id)) break;
                    if (!folderNumber) folderNumber = list.addFolder(folder);
                    list.addFile(*folderNumber, name);
                    break;
                case Kind::Special:
                    passedOver(path, "不是普通文件");
                    break;
                case Kind::Unexamined:
                    passedOver(path, entry.reason);
                    break;
                case Kind::FolderLink:
                    break;
            }
        }
    }

  private:
    struct NameInFolder {
        Identity folder;
        std::string name;
    };

    bool isLeftOut(const Identity& id) const {
        return std::find(leftOut_.begin(), leftOut_.end(), id) != leftOut_.end();
    }
    bool isLeftOut(const Identity& folder, std::string_view name) const {
        return std::any_of(leftOutNames_.begin(), leftOutNames_.end(),
                           [&](const NameInFolder& n) { return n.folder == folder && n.name == name; });
    }
    bool stopped() const { return options_.stopRequested && options_.stopRequested(); }
    void passedOver(const std::string& path, const std::string& reason) const {
        if (options_.onPassedOver) options_.onPassedOver(path, reason);
    }

    const std::string& extension_;
    const FolderWalk& options_;
    std::vector<Identity> leftOut_;
    std::vector<NameInFolder> leftOutNames_;
};

}  // namespace

FileList listFiles(const std::string& folder, const std::string& extension, const FolderWalk& walk) {
    FileList list;
    if (statusOf(folder).kind != PathStatus::Kind::Folder) return list;
    const auto id = folderwalk::identityOf(folder);
    if (!id) return list;
    Walker(extension, walk).walk(withFinalSeparator(folder), *id, list);
    return list;
}

std::vector<std::string> ListFilesRecursive(const std::string& folder, const std::string& extension,
                                            const FolderWalk& walk) {
    return listFiles(folder, extension, walk).paths();
}

}  // namespace photocheck
