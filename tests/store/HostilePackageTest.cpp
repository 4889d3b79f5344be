// Packages cut short at every byte: each cut ends in a clear outcome (an error, or the members that
// are complete), and no partial file or file outside the destination is ever left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/store/ZipTestSupport.h"

namespace photocheck {
namespace {

namespace fs = std::filesystem;
using test::entry;
using Names = std::vector<std::string>;

struct Member {
    std::string name;
    std::string data;
    uint64_t end;  // where its data end in the archive
};

struct HostilePackageTest : ::testing::Test {
    test::TempDir dir;
    std::string zipPath = dir.file("package.zip");
    std::string dest = dir.file("out");
    std::vector<Member> members;
    std::string archive;
    std::string comment = "a comment of the package";

    void SetUp() override {
        ZipWriter zip;
        ZipWriterEntry stored = entry("stored.txt", "stored text, not compressed");
        stored.deflate = false;
        const std::vector<ZipWriterEntry> entries = {
            stored, entry("deflated.txt", std::string(3000, 'd') + "tail"),
            entry("locked.txt", "under the password", "secret"), entry("sub/last.txt", "the last member")};
        for (const ZipWriterEntry& e : entries) {
            zip.add(e);
            members.push_back({e.name, e.data, zip.directoryOffset()});
        }
        archive = zip.finish(comment);
    }

    // Extracts `bytes` into a fresh destination: the error message, or the extracted names.
    std::string extract(const std::string& bytes, Names& written) {
        fs::remove_all(dest);
        test::writeFile(zipPath, bytes);
        ZipExtractor x;
        x.ZipName = zipPath;
        x.DestDir = dest;
        x.Password = "secret";
        try {
            x.UnZip();
        } catch (const ZipError& e) {
            written = filesBelow(dest);
            return e.what();
        }
        written = filesBelow(dest);
        return "";
    }

    static Names filesBelow(const std::string& folder) {
        Names names;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator();
             ++it)
            if (!it->is_directory()) names.push_back(fs::relative(it->path(), folder).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The names of the members whose data end at or before `cut`.
    Names completeBefore(uint64_t cut) const {
        Names names;
        for (const Member& m : members)
            if (m.end <= cut) names.push_back(m.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    // Every file written is a member with its full content; the CRC check allows nothing else.
    void expectOnlyWholeMembers(const Names& written) const {
        for (const std::string& name : written) {
            const auto m = std::find_if(members.begin(), members.end(),
                                        [&](const Member& member) { return member.name == name; });
            ASSERT_NE(m, members.end()) << name;
            EXPECT_EQ(test::readFile(dest + "/" + name), m->data) << name;
        }
    }

    void expectNothingBesideTheDestination() const {
        Names entries;
        for (const auto& e : fs::directory_iterator(dir.path()))
            entries.push_back(e.path().filename().string());
        std::sort(entries.begin(), entries.end());
        EXPECT_TRUE(entries == Names{"package.zip"} || entries == (Names{"out", "package.zip"}));
    }
};

TEST_F(HostilePackageTest, CutAnywhereBeforeTheEndRecordIsAnIncompleteFile) {
    const uint64_t endRecord = archive.size() - comment.size() - 22;
    for (uint64_t cut = 1; cut < endRecord + 22; ++cut) {
        Names written;
        ASSERT_EQ(extract(archive.substr(0, cut), written), "Incomplete Zip File") << cut;
        ASSERT_TRUE(written.empty()) << cut;
        expectNothingBesideTheDestination();
    }
}

TEST_F(HostilePackageTest, CutInsideTheCommentStillExtractsEverything) {
    for (uint64_t cut = archive.size() - comment.size(); cut <= archive.size(); ++cut) {
        Names written;
        ASSERT_EQ(extract(archive.substr(0, cut), written), "") << cut;
        ASSERT_EQ(written, completeBefore(archive.size())) << cut;
    }
    Names written;
    extract(archive, written);
    expectOnlyWholeMembers(written);
}

TEST_F(HostilePackageTest, DataCutShortWithTheEndRecordKeptGiveWholeMembersOnly) {
    const std::string endRecord = archive.substr(archive.size() - comment.size() - 22);
    for (uint64_t cut = 0; cut < members.back().end; ++cut) {
        Names written;
        const std::string error = extract(archive.substr(0, cut) + endRecord, written);
        const Names complete = completeBefore(cut);
        if (error == "Not a valid zip file!") {
            // Not even the first member survived the cut.
            ASSERT_LT(cut, members.front().end) << cut;
            ASSERT_TRUE(written.empty()) << cut;
        } else if (error == "error") {
            // The cut member's deflate stream runs into the end record: the extraction stops there.
            ASSERT_TRUE(std::includes(complete.begin(), complete.end(), written.begin(), written.end()))
                << cut;
        } else {
            ASSERT_EQ(error, "") << cut;
            // A member cut by a byte may still come out whole when the bytes that follow complete it.
            ASSERT_TRUE(std::includes(written.begin(), written.end(), complete.begin(), complete.end()))
                << cut;
        }
        expectOnlyWholeMembers(written);
        expectNothingBesideTheDestination();
    }
}

// A huge file given as the package is refused before its members are read into memory.
TEST_F(HostilePackageTest, APackageAboveTheSizeLimitIsRefusedUnread) {
    test::writeFile(zipPath, archive);
    test::resizeFile(zipPath, static_cast<long long>(DefaultMaxArchiveSize) + 1);  // sparse
    ZipExtractor x;
    x.ZipName = zipPath;
    x.DestDir = dest;
    try {
        x.UnZip();
        FAIL() << "the package was read";
    } catch (const ZipError& e) {
        EXPECT_EQ(std::string(e.what()), std::string(TooLargeArchiveMessage) + "：" + zipPath);
    }
    EXPECT_TRUE(x.members().empty());
    EXPECT_FALSE(fs::exists(dest));
}

TEST_F(HostilePackageTest, AnEmptyPackageHasNoMembersAndCreatesNothing) {
    Names written;
    EXPECT_EQ(extract("", written), "");
    EXPECT_FALSE(test::pathExists(dest));
}

}  // namespace
}  // namespace photocheck
