// Any package extracts without crashing or hanging, and nothing is ever written outside the
// destination folder: the destination lies three folders deep, and each folder above it must hold
// nothing but the next one, so a name that climbs one, two or three steps up is caught.
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "store/ZipExtractor.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fs = std::filesystem;

namespace {

void abortUnlessOnly(const fs::path& folder, const fs::path& expected, const fs::path& alsoAllowed = {}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::path name = entry.path().filename();
        if (name != expected && name != alsoAllowed) std::abort();
    }
}

void removeWritable(const fs::path& folder) {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator();
         ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder, ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace photocheck;
    const fs::path root = fuzz::scratchFolder();
    const std::string package = fuzz::writeInput("package.zip", data, size);
    const fs::path dest = root / "a" / "b" / "dest";
    fs::create_directories(dest);
    ZipExtractor zip;
    zip.ZipName = package;
    zip.DestDir = dest.string();
    zip.Password = "kvrdemtl";
    zip.MaxMemberSize = 1 << 20;
    zip.onOverwrite = [](const std::string&) { return true; };
    try {
        zip.UnZip();
    } catch (const std::exception&) {
    }
    abortUnlessOnly(root, "a", "package.zip");
    abortUnlessOnly(root / "a", "b");
    abortUnlessOnly(root / "a" / "b", "dest");
    removeWritable(dest);
    return 0;
}
