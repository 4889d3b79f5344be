#pragma once
#include <functional>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck::test {

// A fresh folder below the system's temporary directory, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // ends with the system's separator
    // A path inside: path() + name, every "/" of the name written as the system's separator.
    std::string file(const std::string& name) const;

  private:
    std::string path_;
};

// A bitmap whose every pixel comes from a function of (x, y).
Bitmap makeBitmap(int width, int height, const std::function<Colour(int x, int y)>& pixel);
// Fills a rectangle (inclusive corners) with one colour.
void fillRect(Bitmap& b, int x1, int y1, int x2, int y2, Colour c);

// The bytes of a 24-bit Windows bitmap file holding the bitmap, rows stored bottom-up.
std::string bmpFileOf(const Bitmap& b);

// The path with the system's separators: every "/" becomes "\" on Windows.
std::string native(std::string path);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// Pads or cuts a file to an exact size in bytes (appended bytes are zero).
void resizeFile(const std::string& path, long long size);

// Creates a folder and the folders above it.
void makeFolders(const std::string& path);
// The names in a folder (not below it), sorted; empty when the folder is missing.
std::vector<std::string> namesIn(const std::string& folder);

}  // namespace photocheck::test
