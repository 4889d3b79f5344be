// Any package extracts without crashing or hanging, and nothing is ever written outside the
// destination folder.
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "store/ZipExtractor.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace photocheck;
    const fs::path root = fuzz::scratchFolder();
    const std::string package = fuzz::writeInput("package.zip", data, size);
    const fs::path dest = root / "dest";
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
    // The scratch folder holds the package and the destination, nothing else.
    for (const auto& entry : fs::directory_iterator(root)) {
        const auto name = entry.path().filename();
        if (name != "package.zip" && name != "dest") std::abort();
    }
    std::error_code ec;
    fs::permissions(dest, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(dest, ec); it != fs::recursive_directory_iterator(); ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dest, ec);
    return 0;
}
