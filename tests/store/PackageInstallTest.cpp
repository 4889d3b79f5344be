#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "store/Database.h"
#include "store/PackageInstall.h"
#include "store/Parameters.h"
#include "store/ResultsSchema.h"
#include "tests/store/ZipTestSupport.h"

namespace photocheck {
namespace {

using test::entry;
using test::pathExists;
using test::TempDir;
using test::writePackage;

// The package that the build made beside the executables.
std::string builtPackage() {
    const char* bin = std::getenv("PHOTOCHECK_BIN");
    return bin && *bin ? std::string(bin) + "/" + PackageFileName : PHOTOCHECK_PACKAGE;
}

const char* const WorkFiles[] = {"readme.doc", "versions.doc", "qob.trd", "SetParameters.ini"};

struct PackageInstallTest : ::testing::Test {
    TempDir dir;
    std::string work = dir.file("work/");
    std::vector<std::string> prompted;
    OverwritePrompt prompt = [this](const std::string& name) {
        prompted.push_back(name);
        return false;
    };

    void install(const std::string& package) { InstallWorkFiles(work, package, prompt); }
    void placeAllWorkFiles(const std::string& content) {
        ::mkdir(work.c_str(), 0700);
        for (const char* name : WorkFiles) test::writeFile(work + name, content);
    }
    std::string databaseMessage() {
        try {
            openWorkDatabase(work);
        } catch (const DatabaseMissing& e) {
            const std::string message = e.what();  // the fixed text, then the engine's reason
            return message.substr(0, message.find("（"));
        }
        return "opened";
    }
};

// The one description of the results table, which the grid, its edits and the CSV read, is the table
// the package installs.
TEST_F(PackageInstallTest, TheInstalledResultsTableHasTheColumnsAndKindsOfTheSchema) {
    install(builtPackage());
    auto db = openWorkDatabase(work);
    Query columns(*db);
    OpenSql(columns, "pragma table_info(pictureMsg)");
    ASSERT_EQ(columns.fetchAll(), ResultsColumns.size());
    for (size_t i = 0; i < ResultsColumns.size(); ++i) {
        EXPECT_EQ(columns.text(i, "name"), ResultsColumns[i].field);
        EXPECT_EQ(columns.text(i, "type"), ResultsColumns[i].kind == ColumnKind::Number ? "integer" : "text");
    }
}

TEST_F(PackageInstallTest, EmptyFolderReceivesTheFourFilesAndTheParametersLoad) {
    install(builtPackage());
    for (const char* name : WorkFiles) EXPECT_TRUE(pathExists(work + name)) << name;

    auto db = openWorkDatabase(work);
    Query query(*db);
    ParameterEdits edits;
    DetectionParameters params;
    LoadParameterSettings(query, work, edits, params);
    EXPECT_EQ(edits.size + "/" + edits.blue + "/" + edits.clarity + "/" + edits.regular + "/" + edits.head,
              "30/90/200/90/50");
    EXPECT_EQ(params.ParamFileSizeKb, 30);
    EXPECT_EQ(params.ParamBlueRatio, 90);
    EXPECT_EQ(params.ParamClarity, 200);
    EXPECT_EQ(params.ParamRegularity, 90);
    EXPECT_EQ(params.ParamHeadRatio, 50);
    EXPECT_FALSE(OpenSql(query, "select * from pictureMsg"));
    EXPECT_TRUE(prompted.empty());
}

TEST_F(PackageInstallTest, DocumentsAreAsciiRtfInChinese) {
    install(builtPackage());
    for (const char* name : {"readme.doc", "versions.doc"}) {
        const std::string doc = test::readFile(work + name);
        EXPECT_EQ(doc.rfind("{\\rtf1\\ansi\\ansicpg936", 0), 0u) << name;
        EXPECT_TRUE(
            std::all_of(doc.begin(), doc.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    }
    const std::string readme = test::readFile(work + "readme.doc");
    EXPECT_NE(readme.find("\\u21512?\\u26684?"), std::string::npos);  // 合格
    EXPECT_NE(readme.find("\\u-32564?\\u26223?\\u19981?\\u26159?\\u27973?\\u-31523?\\u-32142?"),
              std::string::npos)
        << "the reason 背景不是浅蓝色";
}

TEST_F(PackageInstallTest, OneMissingFileReinstallsAllFour) {
    placeAllWorkFiles("old");
    ::unlink((work + "readme.doc").c_str());
    test::writeFile(work + "qob.trd-wal", "a journal of an older database");
    install(builtPackage());
    for (const char* name : WorkFiles) EXPECT_NE(test::readFile(work + name), "old") << name;
    EXPECT_FALSE(pathExists(work + "qob.trd-wal"));
    EXPECT_EQ(databaseMessage(), "opened");
    EXPECT_TRUE(prompted.empty());
}

TEST_F(PackageInstallTest, AllFilesPresentLeavesThePackageUnopened) {
    placeAllWorkFiles("kept");
    EXPECT_NO_THROW(install(dir.file("no-such-package.oef")));
    for (const char* name : WorkFiles) EXPECT_EQ(test::readFile(work + name), "kept");
}

TEST_F(PackageInstallTest, MissingPackageIsAnErrorWhenAFileIsMissing) {
    EXPECT_THROW(install(dir.file("no-such-package.oef")), std::runtime_error);
    EXPECT_TRUE(pathExists(work));
}

TEST_F(PackageInstallTest, EmptyPackageInstallsNothingAndTheDatabaseIsMissing) {
    test::writeFile(dir.file("xl.oef"), "");
    EXPECT_NO_THROW(install(dir.file("xl.oef")));
    for (const char* name : WorkFiles) EXPECT_FALSE(pathExists(work + name));
    EXPECT_EQ(databaseMessage(), "找不到数据库，程序将退出");
}

TEST_F(PackageInstallTest, WrongPackagePasswordInstallsNothing) {
    writePackage(dir.file("xl.oef"), {entry("readme.doc", "r", "other"), entry("versions.doc", "v", "other"),
                                      entry("qob.trd", test::readFile(PHOTOCHECK_SCHEMA), "other"),
                                      entry("SetParameters.ini", "[Parameters]", "other")});
    install(dir.file("xl.oef"));
    for (const char* name : WorkFiles) EXPECT_FALSE(pathExists(work + name));
    EXPECT_EQ(databaseMessage(), "找不到数据库，程序将退出");
}

TEST_F(PackageInstallTest, DatabaseInASubfolderIsNotTheInstalledDatabase) {
    writePackage(dir.file("xl.oef"), {entry("data/qob.trd", "db", PackagePassword)});
    install(dir.file("xl.oef"));
    EXPECT_EQ(test::readFile(work + "data/qob.trd"), "db");
    EXPECT_EQ(databaseMessage(), "找不到数据库，程序将退出");
}

TEST_F(PackageInstallTest, UnknownMethodReachesTheReport) {
    ZipWriterEntry odd = entry("readme.doc", "r", PackagePassword);
    odd.methodOverride = 14;
    writePackage(dir.file("xl.oef"), {odd});
    std::string report;
    InstallWorkFiles(
        work, dir.file("xl.oef"), prompt,
        [&](const std::string& caption, const std::string& text) { report = caption + "|" + text; });
    EXPECT_EQ(report, "Zip Error|Unknown Compression Method");
    EXPECT_FALSE(pathExists(work + "readme.doc"));
}

TEST_F(PackageInstallTest, CleanUpDeletesTheFourFilesAndTheJournal) {
    placeAllWorkFiles("x");
    test::writeFile(work + "qob.trd-wal", "w");
    test::writeFile(work + "qob.trd-shm", "s");
    test::writeFile(work + "other.txt", "o");
    CleanUpWorkFiles(work);
    for (const char* name : WorkFiles) EXPECT_FALSE(pathExists(work + name)) << name;
    EXPECT_FALSE(pathExists(work + "qob.trd-wal"));
    EXPECT_FALSE(pathExists(work + "qob.trd-shm"));
    EXPECT_TRUE(pathExists(work + "other.txt"));
    EXPECT_NO_THROW(CleanUpWorkFiles(work));
    EXPECT_NO_THROW(CleanUpWorkFiles(dir.file("nowhere/")));
}

}  // namespace
}  // namespace photocheck
