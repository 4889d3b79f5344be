#include <gtest/gtest.h>

#include "platform/Gbk.h"
#include "store/Parameters.h"
#include "tests/support/TestSupport.h"

#ifndef PHOTOCHECK_SCHEMA
#error "PHOTOCHECK_SCHEMA must name data/schema.sql"
#endif

namespace photocheck {
namespace {

using test::TempDir;
using Focus = ConfirmResult::Focus;

const char* const FullParameterFile =
    "[Parameters]\r\n文件最小大小(Kb)=30\r\n5到10行蓝色比=60\r\n清晰度=200\r\n端正比=90\r\n头部高度比=50\r\n";

struct ParametersTest : ::testing::Test {
    TempDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<Query> query;
    DetectionParameters params;
    ParameterEdits edits;

    void SetUp() override {
        {
            Database created = Database::create(dir.file(DatabaseFileName), DatabaseKey);
            created.execute(test::readFile(PHOTOCHECK_SCHEMA));
            created.execute("insert into preParameters values (25, 70, 150, 80, 40)");
        }
        db = std::make_unique<Database>(dir.file(DatabaseFileName), DatabaseKey);
        query = std::make_unique<Query>(*db);
    }

    void writeParameterFile(const std::string& utf8) {
        test::writeFile(dir.file(ParameterFileName), utf8ToGbk(utf8));
    }

    std::string storedRow() {
        Query q(*db);
        OpenSql(q, "select * from preParameters");
        return q.text(0, "PreSize") + "/" + q.text(0, "PreBlue") + "/" + q.text(0, "PreClarity") + "/" +
               q.text(0, "PreRegular") + "/" + q.text(0, "PreHead");
    }

    static std::string values(const DetectionParameters& p) {
        return std::to_string(p.ParamFileSizeKb) + "/" + std::to_string(p.ParamBlueRatio) + "/" +
               std::to_string(p.ParamClarity) + "/" + std::to_string(p.ParamRegularity) + "/" +
               std::to_string(p.ParamHeadRatio);
    }

    void setEdits(const std::string& size, const std::string& blue, const std::string& clarity,
                  const std::string& regular, const std::string& head) {
        edits = {size, blue, clarity, regular, head};
    }
};

TEST_F(ParametersTest, LoadShowsTheTableAndAppliesTheFile) {
    writeParameterFile(FullParameterFile);
    LoadParameterSettings(*query, dir.path(), edits, params);
    EXPECT_EQ(edits.size + "/" + edits.blue + "/" + edits.clarity + "/" + edits.regular + "/" + edits.head,
              "25/70/150/80/40");
    EXPECT_EQ(values(params), "30/60/200/90/50");
}

TEST_F(ParametersTest, MissingKeyStopsTheLoadAndLeavesLaterParametersAtZero) {
    writeParameterFile("[Parameters]\n文件最小大小(Kb)=30\n5到10行蓝色比=60\n端正比=90\n头部高度比=50\n");
    try {
        LoadParameterSettings(*query, dir.path(), edits, params);
        FAIL() << "no conversion error";
    } catch (const ParameterValueError& e) {
        EXPECT_EQ(std::string(e.what()), "参数文件 " + dir.file("SetParameters.ini") +
                                             " 中“清晰度”的值不是整数（'' is not a valid integer value）");
    }
    EXPECT_EQ(values(params), "30/60/0/0/0");
    EXPECT_EQ(edits.blue, "70");
}

TEST_F(ParametersTest, EmptyTableGivesEmptyEdits) {
    db->execute("delete from preParameters");
    writeParameterFile(FullParameterFile);
    setEdits("x", "x", "x", "x", "x");
    LoadParameterSettings(*query, dir.path(), edits, params);
    EXPECT_EQ(edits.size + edits.blue + edits.clarity + edits.regular + edits.head, "");
    EXPECT_EQ(values(params), "30/60/200/90/50");
}

TEST_F(ParametersTest, MissingParameterFileFailsTheFirstConversion) {
    EXPECT_THROW(LoadParametersFromFile(dir.file("none.ini"), params), ParameterValueError);
    EXPECT_EQ(values(params), "0/0/0/0/0");
}

TEST_F(ParametersTest, BlueOfHundredIsRefusedAndNinetyNineAccepted) {
    setEdits("30", "100", "200", "90", "50");
    const ConfirmResult refused = ConfirmParameterSettings(*query, edits, params);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "蓝底比要大于等于0小于100");
    EXPECT_EQ(refused.focus, Focus::Blue);
    EXPECT_EQ(storedRow(), "25/70/150/80/40");
    EXPECT_EQ(values(params), "0/0/0/0/0");

    edits.blue = "99";
    const ConfirmResult accepted = ConfirmParameterSettings(*query, edits, params);
    EXPECT_TRUE(accepted.ok);
    EXPECT_EQ(accepted.message, "设置成功");
    EXPECT_EQ(accepted.focus, Focus::None);
    EXPECT_EQ(storedRow(), "30/99/200/90/50");
    EXPECT_EQ(values(params), "30/99/200/90/50");
}

TEST_F(ParametersTest, NegativeBlueIsRefusedAndZeroAccepted) {
    setEdits("30", "-1", "200", "90", "50");
    EXPECT_EQ(ConfirmParameterSettings(*query, edits, params).message, "蓝底比要大于等于0小于100");
    edits.blue = "0";
    EXPECT_TRUE(ConfirmParameterSettings(*query, edits, params).ok);
    EXPECT_EQ(params.ParamBlueRatio, 0);
}

TEST_F(ParametersTest, UprightnessIsCheckedBeforeHead) {
    setEdits("30", "90", "200", "100", "100");
    const ConfirmResult result = ConfirmParameterSettings(*query, edits, params);
    EXPECT_EQ(result.message, "端正度要大于等于0小于100");
    EXPECT_EQ(result.focus, Focus::Regular);

    edits.regular = "90";
    const ConfirmResult head = ConfirmParameterSettings(*query, edits, params);
    EXPECT_EQ(head.message, "头部比要大于等于0小于100");
    EXPECT_EQ(head.focus, Focus::Head);
    EXPECT_EQ(storedRow(), "25/70/150/80/40");
}

TEST_F(ParametersTest, EmptyEditBecomesZero) {
    setEdits("30", "90", "  ", "90", "50");
    EXPECT_TRUE(ConfirmParameterSettings(*query, edits, params).ok);
    EXPECT_EQ(edits.clarity, "0");
    EXPECT_EQ(storedRow(), "30/90/0/90/50");
    EXPECT_EQ(params.ParamClarity, 0);
}

TEST_F(ParametersTest, SizeAndClarityHaveNoRange) {
    setEdits("1000", "90", "500", "90", "50");
    EXPECT_TRUE(ConfirmParameterSettings(*query, edits, params).ok);
    EXPECT_EQ(values(params), "1000/90/500/90/50");
}

TEST_F(ParametersTest, ConfirmingTwiceWritesTwiceAndSucceedsEachTime) {
    setEdits("31", "91", "201", "91", "51");
    EXPECT_EQ(ConfirmParameterSettings(*query, edits, params).message, "设置成功");
    db->execute("update preParameters set PreSize=1");
    EXPECT_EQ(ConfirmParameterSettings(*query, edits, params).message, "设置成功");
    EXPECT_EQ(storedRow(), "31/91/201/91/51");
}

TEST_F(ParametersTest, TextThatIsNoNumberChangesNothing) {
    setEdits("abc", "", "200", "90", "50");
    EXPECT_THROW(ConfirmParameterSettings(*query, edits, params), ConversionError);
    EXPECT_EQ(edits.blue, "0");
    EXPECT_EQ(storedRow(), "25/70/150/80/40");
    EXPECT_EQ(values(params), "0/0/0/0/0");

    setEdits("30", "9x", "200", "90", "50");
    EXPECT_THROW(ConfirmParameterSettings(*query, edits, params), ConversionError);
    EXPECT_EQ(storedRow(), "25/70/150/80/40");
}

TEST_F(ParametersTest, HexadecimalEditIsStoredAsItsNumber) {
    setEdits("$1E", "0x5A", "200", "90", "50");
    EXPECT_TRUE(ConfirmParameterSettings(*query, edits, params).ok);
    EXPECT_EQ(storedRow(), "30/90/200/90/50");
}

}  // namespace
}  // namespace photocheck
