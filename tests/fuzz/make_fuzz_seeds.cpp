// Writes seed inputs for the fuzzers that the sample files alone do not give: packages with every
// feature the extractor reads, and photos in every JPEG flavour the decoder takes.
//   make-fuzz-seeds CORPUS_FOLDER SAMPLE_PHOTO
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "imaging/Jpeg.h"
#include "tools/ZipWriter.h"

namespace photocheck {
namespace {

const char* const FuzzPassword = "kvrdemtl";  // the one the ZIP fuzzer extracts with

ZipWriterEntry member(const std::string& name, const std::string& data) {
    ZipWriterEntry e;
    e.name = name;
    e.data = data;
    return e;
}

void writePackage(const std::string& path, const std::vector<ZipWriterEntry>& entries,
                  const std::string& comment = {}, bool zip64End = false) {
    ZipWriter zip;
    for (const ZipWriterEntry& e : entries) zip.add(e);
    zip.writeTo(path, comment, zip64End);
}

void writePackageSeeds(const std::string& folder) {
    ZipWriterEntry stored = member("stored.txt", "stored text");
    stored.deflate = false;
    ZipWriterEntry locked = member("qob.trd", std::string(2000, 'q') + "locked");
    locked.password = FuzzPassword;
    ZipWriterEntry lockedDescribed = member("readme.doc", "described and locked");
    lockedDescribed.password = FuzzPassword;
    lockedDescribed.dataDescriptor = true;
    ZipWriterEntry unixMode = member("bin/tool", "#!/bin/sh\n");
    unixMode.hostSystem = 3;
    unixMode.externalAttributes = 0100755u << 16;
    ZipWriterEntry utf8 = member("照片/合格.txt", "utf8 name");
    utf8.utf8Name = true;
    ZipWriterEntry big = member("zip64.bin", std::string(70000, 'z'));
    big.zip64 = true;
    ZipWriterEntry link = member("link", "target");
    link.hostSystem = 3;
    link.externalAttributes = 0120777u << 16;

    writePackage(folder + "/plain.zip", {stored, member("deflated.txt", std::string(500, 'd'))});
    writePackage(folder + "/locked.zip", {locked, lockedDescribed});
    writePackage(folder + "/folders.zip", {member("a/", ""), member("a\\b\\c.txt", "back"), unixMode, utf8});
    writePackage(folder + "/zip64.zip", {big, stored}, "with a comment", true);
    writePackage(folder + "/unsafe.zip", {member("../x", "1"), member("C:\\x", "2"), link});
}

void writePhotoSeeds(const std::string& folder, const std::string& samplePhoto) {
    const Bitmap photo = decodeJpeg(samplePhoto);
    writeJpeg(photo, folder + "/progressive.jpg", {.quality = 50, .progressive = true});
    writeJpeg(photo, folder + "/arithmetic.jpg", {.quality = 50, .arithmetic = true});
    writeJpeg(photo, folder + "/gray.jpg", {.quality = 50, .grayscale = true});
    Bitmap small(24, 16);
    writeJpeg(small, folder + "/small.jpg", {.quality = 50, .progressive = true});
}

}  // namespace
}  // namespace photocheck

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-fuzz-seeds CORPUS_FOLDER SAMPLE_PHOTO\n";
        return 2;
    }
    try {
        const std::string corpus = argv[1];
        std::filesystem::create_directories(corpus + "/fuzz_zip");
        std::filesystem::create_directories(corpus + "/fuzz_filecheck");
        photocheck::writePackageSeeds(corpus + "/fuzz_zip");
        photocheck::writePhotoSeeds(corpus + "/fuzz_filecheck", argv[2]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
