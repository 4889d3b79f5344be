#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace photocheck::test {

TempDir::TempDir() : path_(withFinalSeparator(createUniqueFolder(temporaryFolder() + "photocheck-test-"))) {}

TempDir::~TempDir() {
    // Whatever a test made unreadable or read-only is opened up again, so that all of it goes.
    namespace fs = std::filesystem;
    const fs::path root = nativePath(path_);
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_symlink(ec)) continue;
        fs::permissions(it->path(), it->is_directory(ec) ? fs::perms::owner_all : fs::perms::owner_write,
                        fs::perm_options::add, ec);
    }
    removeTree(path_);
}

std::string TempDir::file(const std::string& name) const {
    return path_ + native(name);
}

Bitmap makeBitmap(int width, int height, const std::function<Colour(int, int)>& pixel) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.setPixel(x, y, pixel(x, y));
    return b;
}

namespace {
void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
}  // namespace

std::string bmpFileOf(const Bitmap& b) {
    const uint32_t stride = (static_cast<uint32_t>(b.width()) * 3 + 3) / 4 * 4;
    const uint32_t pixelsAt = 14 + 40;
    std::string out = "BM";
    putLittleEndian(out, pixelsAt + stride * static_cast<uint32_t>(b.height()), 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, pixelsAt, 4);
    for (uint32_t field : {40u, static_cast<uint32_t>(b.width()), static_cast<uint32_t>(b.height())})
        putLittleEndian(out, field, 4);
    putLittleEndian(out, 1, 2);   // planes
    putLittleEndian(out, 24, 2);  // bits per pixel
    for (int i = 0; i < 6; ++i) putLittleEndian(out, 0, 4);
    for (int y = b.height() - 1; y >= 0; --y) {
        const std::string row(reinterpret_cast<const char*>(b.row(y)), static_cast<size_t>(b.width()) * 3);
        out += row + std::string(stride - row.size(), '\0');
    }
    return out;
}

void fillRect(Bitmap& b, int x1, int y1, int x2, int y2, Colour c) {
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) b.setPixel(x, y, c);
}

std::string native(std::string path) {
    std::replace(path.begin(), path.end(), '/', PathSeparator);
    return path;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path) {
    return pathExists(path);
}

void resizeFile(const std::string& path, long long size) {
    std::error_code ec;
    std::filesystem::resize_file(nativePath(path), static_cast<uintmax_t>(size), ec);
    if (ec) throw std::runtime_error("cannot resize " + path);
}

void makeFolders(const std::string& path) {
    createFolders(path);
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(nativePath(folder), ec))
        names.push_back(utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace photocheck::test
