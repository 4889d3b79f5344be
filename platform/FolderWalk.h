#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Inside platform/: the folder walk and the emptying of a folder, the part every system shares. Each
// system's FileSystem.cpp gives the functions at the end.

namespace photocheck::folderwalk {

// The names of one folder, one after the other in a single text: a folder of 100,000 photos is read
// without a string for each of its names.
class FolderNames {
  public:
    void add(std::string_view name);
    void clear();
    size_t size() const { return spans_.size(); }
    std::string_view operator[](size_t i) const {
        return std::string_view(text_).substr(spans_[i].begin, spans_[i].length);
    }
    // Upper-cased names compared byte by byte, as an NTFS volume enumerates a folder; names that differ
    // only in letter case keep a fixed order among themselves.
    void sortLikeNtfs();

  private:
    struct Span {
        uint32_t begin;
        uint32_t length;
    };
    std::string_view of(const Span& s) const { return std::string_view(text_).substr(s.begin, s.length); }

    std::string text_;
    std::vector<Span> spans_;
};

bool isDotEntry(std::string_view name);
// ".*" matches every name; otherwise the name's last extension, with its dot, without regard to ASCII
// letter case.
bool hasExtension(std::string_view name, const std::string& extension);

// A folder on its volume, whatever path leads to it.
struct Identity {
    uint64_t volume = 0;
    uint64_t file = 0;
    bool operator==(const Identity& o) const { return volume == o.volume && file == o.file; }
};

enum class Kind { Folder, FolderLink, File, Special, Unexamined };

struct Entry {
    Kind kind = Kind::Unexamined;
    Identity id;         // of a folder
    std::string reason;  // why it could not be examined, in Chinese with the system's reason
};

// Given by each system. A real folder is walked; a link to a folder (a junction) is not. A dangling
// link counts as a file: it was listed, and its check reports that it cannot be read.
Entry examine(const std::string& path);
// A folder's identity, links followed; nothing when it cannot be examined.
std::optional<Identity> identityOf(const std::string& folder);
// The names in a folder, without "." and ".."; false with the reason, in Chinese with the system's
// reason, when the folder cannot be read to its end.
bool readNames(const std::string& folder, FolderNames& names, std::string& reason);

}  // namespace photocheck::folderwalk
