#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "store/Database.h"
#include "tests/support/TestSupport.h"

namespace photocheck::test {

// The thresholds of the data package that a real run loads.
inline DetectionParameters packageThresholds() {
    DetectionParameters p;
    p.ParamFileSizeKb = 30;
    p.ParamBlueRatio = 90;
    p.ParamClarity = 200;
    p.ParamRegularity = 90;
    p.ParamHeadRatio = 50;
    return p;
}

// A fresh encrypted database file with the tables pictureMsg and preParameters.
std::unique_ptr<Database> createTestDatabase(const std::string& path);

// A small JPEG (not the photo size), and a JPEG of the photo size; the variant shifts the pattern.
void writeSmallJpeg(const std::string& path, int width = 20, int height = 30);
void writePhotoSizedJpeg(const std::string& path, int variant = 0);

// Every row of pictureMsg in table order, each value as text, "NULL" for a missing value.
std::vector<std::vector<std::string>> tableRows(Database& db);

// A photo folder and a database in a fresh temporary folder, with the run's options pointing at them;
// the result folders lie beside the photo folder.
struct BatchFolderTest : ::testing::Test {
    TempDir dir;
    std::string photos = dir.file("photos");
    std::string passed = dir.file("合格照片");
    std::string failed = dir.file("不合格照片");
    std::unique_ptr<Database> db = createTestDatabase(dir.file("qob.trd"));
    Query adoPicMsg{*db};
    BatchOptions options;
    BatchState state;

    void SetUp() override {
        makeFolders(photos);
        options.photoFolder = photos;
    }
    std::string at(const std::string& relative) const { return photos + native("/" + relative); }
    void put(const std::string& relative, const std::string& content = "x") const {
        writeFile(at(relative), content);
    }
};

}  // namespace photocheck::test
