#pragma once
#include <cstdint>
#include <string>

namespace photocheck {

// A folder of the program's own for files it writes on the way (the parts of a run report), made with
// a name no other folder has and held while the object lives: the kernel's lock on the folder ends
// with the process, however it ends, so a folder that nobody holds was left behind by a program that
// was killed (removeAbandonedFolders).
class HeldFolder {
  public:
    // Makes the folder `prefix` followed by six characters that make the name new, readable only by
    // the user. Raises FileSystemError when it cannot be made.
    explicit HeldFolder(const std::string& prefix);
    // The folder goes with everything in it.
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    const std::string& path() const { return path_; }  // without a final separator

  private:
    std::string path_;
    intptr_t held_ = -1;  // what holds the folder: a descriptor on Linux, a handle on Windows
};

// Removes the folders named `prefix` followed by six characters that no HeldFolder holds any more,
// with everything in them; what cannot be removed stays.
void removeAbandonedFolders(const std::string& prefix);

}  // namespace photocheck
