#include <gtest/gtest.h>

#include "batch/ResultsQuery.h"
#include "check/ResultRow.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

const std::string Where = "select * from pictureMsg where ";

std::string statementOf(const ResultsFilter& filter) {
    const ResultsQuery query = buildResultsQuery(filter);
    EXPECT_EQ(query.message, "");
    return query.statement.value_or("(no statement: " + query.message + ")");
}

std::string messageOf(const ResultsFilter& filter) {
    const ResultsQuery query = buildResultsQuery(filter);
    EXPECT_FALSE(query.statement.has_value()) << *query.statement;
    return query.message;
}

ResultsFilter verdictOnly(const std::string& verdict) {
    ResultsFilter f;
    f.verdict = verdict;
    return f;
}

ResultsFilter blue(const std::string& from, const std::string& to, const std::string& verdict = "") {
    ResultsFilter f = verdictOnly(verdict);
    f.blueFrom = from;
    f.blueTo = to;
    return f;
}

TEST(ResultsQueryTest, TheWorkedExamples) {
    EXPECT_EQ(statementOf(verdictOnly("合格")), Where + " Result= '合格' ");
    ResultsFilter named = verdictOnly("不合格");
    named.fileName = "2023";
    EXPECT_EQ(statementOf(named), Where + "Name like '%2023%'");
    EXPECT_EQ(statementOf(blue("20", "80", "合格")),
              Where + "bluePercent between 20 and 80 and Result='合格' ");
}

TEST(ResultsQueryTest, EverythingEmptyOrBlankGivesAllRows) {
    ResultsFilter f = verdictOnly("  ");
    f.fileName = " \t";
    f.headFrom = " ";
    EXPECT_EQ(statementOf(f), "select * from pictureMsg");
}

TEST(ResultsQueryTest, AllVerdictsGiveAllRowsWhateverElseIsFilled) {
    ResultsFilter f = blue("20", "80", " 全部 ");
    f.fileName = "2023";
    EXPECT_EQ(statementOf(f), "select * from pictureMsg");
    ResultsFilter named = verdictOnly("全部");
    named.fileName = "x";
    EXPECT_EQ(statementOf(named), "select * from pictureMsg");
}

TEST(ResultsQueryTest, TheFirstFilledRangeLeadsAndTheVerdictTakesABlankAfterTheEqualsSign) {
    ResultsFilter f = verdictOnly("合格");
    f.clarityFrom = "1";
    f.clarityTo = "2";
    f.regularFrom = "3";
    f.regularTo = "4";
    f.fileName = "ignored";
    EXPECT_EQ(
        statementOf(f),
        Where + "ClarityPercent between 1 and 2 and RegularPercent between 3 and 4 and Result= '合格' ");
    f.clarityFrom = f.clarityTo = "";
    f.headFrom = "5";
    f.headTo = "6";
    EXPECT_EQ(statementOf(f),
              Where + "HeadPercent between 5 and 6 and RegularPercent between 3 and 4 and Result= '合格' ");
    f.headFrom = f.headTo = "";
    f.verdict = "";
    EXPECT_EQ(statementOf(f), Where + "RegularPercent between 3 and 4");
}

TEST(ResultsQueryTest, BlueLeadsAllFourRangesInTheFixedOrder) {
    ResultsFilter f = blue("0", "100");
    f.regularFrom = "7";
    f.regularTo = "8";
    f.headFrom = "5";
    f.headTo = "6";
    f.clarityFrom = "3";
    f.clarityTo = "4";
    EXPECT_EQ(statementOf(f), Where +
                                  "bluePercent between 0 and 100 and ClarityPercent between 3 and 4 and "
                                  "HeadPercent between 5 and 6 and RegularPercent between 7 and 8");
}

TEST(ResultsQueryTest, OneEndOfARangeAloneIsRefusedBeforeAnyNumberIsChecked) {
    EXPECT_EQ(messageOf(blue("20", "")), "选写的筛选范围不能为空，必须在0～100之间");
    ResultsFilter f = blue("500", "abc");
    f.regularTo = "5";
    EXPECT_EQ(messageOf(f), "选写的筛选范围不能为空，必须在0～100之间");
    EXPECT_EQ(messageOf(blue("  ", "20")), "选写的筛选范围不能为空，必须在0～100之间");
}

TEST(ResultsQueryTest, EachRangeHasItsOwnMessageAndTheEndsZeroAndHundredPass) {
    EXPECT_EQ(messageOf(blue("-1", "50")), " 蓝比筛选范围必须在0～100之间");
    EXPECT_EQ(messageOf(blue("0", "101")), " 蓝比筛选范围必须在0～100之间");
    ResultsFilter f;
    f.clarityFrom = "0";
    f.clarityTo = "200";
    EXPECT_EQ(messageOf(f), " 清晰度筛选范围必须在0～100之间");
    f = {};
    f.headFrom = "100";
    f.headTo = "-5";
    EXPECT_EQ(messageOf(f), " 头部比筛选范围必须在0～100之间");
    f = {};
    f.regularFrom = "1000";
    f.regularTo = "1";
    EXPECT_EQ(messageOf(f), " 端正比筛选范围必须在0～100之间");
    EXPECT_EQ(statementOf(blue("0", "100")), Where + "bluePercent between 0 and 100");
}

TEST(ResultsQueryTest, RangesAreCheckedInOrderAndBothEndsConvertedFirst) {
    ResultsFilter f = blue("10", "20");
    f.headFrom = "200";
    f.headTo = "1";
    f.regularFrom = "x";
    f.regularTo = "1";
    EXPECT_EQ(messageOf(f), " 头部比筛选范围必须在0～100之间");
    EXPECT_EQ(messageOf(blue("500", "five")), " 筛选范围只能是数字，而不能填写其它字符！！");
}

TEST(ResultsQueryTest, TextsThatAreNoWholeNumberGiveTheConversionMessage) {
    for (const char* text : {"abc", "1.5", "2 0", "20;", "20 or 1=1", "20'", "--", "1e2", "$", "0x"})
        EXPECT_EQ(messageOf(blue(text, "80")), " 筛选范围只能是数字，而不能填写其它字符！！") << text;
}

TEST(ResultsQueryTest, HugeNumbersAreRefused) {
    EXPECT_EQ(messageOf(blue("20", "99999999999999999999")), " 筛选范围只能是数字，而不能填写其它字符！！");
    EXPECT_EQ(messageOf(blue("20", "2147483648")), " 筛选范围只能是数字，而不能填写其它字符！！");
    EXPECT_EQ(messageOf(blue("20", "2147483647")), " 蓝比筛选范围必须在0～100之间");
    EXPECT_EQ(messageOf(blue("-2147483648", "20")), " 蓝比筛选范围必须在0～100之间");
}

TEST(ResultsQueryTest, HexadecimalAndSignedFormsEnterAsTheirDecimalValue) {
    EXPECT_EQ(statementOf(blue("$14", "0x50")), Where + "bluePercent between 20 and 80");
    EXPECT_EQ(statementOf(blue("x0A", "0X64")), Where + "bluePercent between 10 and 100");
    EXPECT_EQ(statementOf(blue("+007", "-0")), Where + "bluePercent between 7 and 0");
    EXPECT_EQ(messageOf(blue("$65", "1")), " 蓝比筛选范围必须在0～100之间");
}

TEST(ResultsQueryTest, BlanksAroundEveryTextAreRemoved) {
    EXPECT_EQ(statementOf(blue("  20 ", "\t80\t", "  合格 ")),
              Where + "bluePercent between 20 and 80 and Result='合格' ");
    ResultsFilter f = verdictOnly(" 不合格");
    f.fileName = "  a b  ";
    EXPECT_EQ(statementOf(f), Where + "Name like '%a b%'");
}

TEST(ResultsQueryTest, QuotesInTheVerdictAndTheFileNameAreDoubled) {
    EXPECT_EQ(statementOf(verdictOnly("合'格")), Where + " Result= '合''格' ");
    EXPECT_EQ(statementOf(blue("1", "2", "x' or '1'='1")),
              Where + "bluePercent between 1 and 2 and Result='x'' or ''1''=''1' ");
    ResultsFilter f = verdictOnly("");
    f.fileName = "o'neil";
    EXPECT_EQ(statementOf(f), Where + "Name like '%o''neil%'");
}

TEST(ResultsQueryTest, ClearEmptiesEveryTextTheVerdictTooAndGivesAllRows) {
    ResultsFilter f = blue("1", "2", "合格");
    f.clarityFrom = f.clarityTo = f.headFrom = f.headTo = f.regularFrom = f.regularTo = "3";
    f.fileName = "a";
    EXPECT_EQ(clearResultsFilter(f), "select * from pictureMsg");
    for (const std::string* text : {&f.blueFrom, &f.blueTo, &f.clarityFrom, &f.clarityTo, &f.headFrom,
                                    &f.headTo, &f.regularFrom, &f.regularTo, &f.verdict, &f.fileName})
        EXPECT_EQ(*text, "");
    EXPECT_EQ(statementOf(f), "select * from pictureMsg");
}

// The statements run on a real results table.
struct ResultsQueryOnTableTest : ::testing::Test {
    test::TempDir dir;
    std::unique_ptr<Database> db = test::createTestDatabase(dir.file("qob.trd"));
    Query adoPicMsg{*db};

    void SetUp() override {
        add("o'neil", 90, "合格");
        add("100%", 50, "不合格");
        add("1000", 20, "合格");
        add("a_b", 70, "不合格");
        add("axb", 85, "合格");
        add("照片 一", 10, "不合格");
        add("2023 \"x\"", 60, "合格");
    }
    void add(const std::string& name, int bluePercent, const std::string& verdict) {
        ResultRow row;
        row.beginWithName(name);
        row.addText("mode", "jpg");
        row.addNumber("bluePercent", bluePercent);
        row.addVerdict(verdict == "合格");
        ExecSql(adoPicMsg, row.insertStatement());
    }
    // The trimmed names of the rows a filter shows, in table order.
    std::vector<std::string> shown(const ResultsFilter& filter) {
        OpenSql(adoPicMsg, statementOf(filter));
        std::vector<std::string> names;
        const size_t count = adoPicMsg.fetchAll();
        for (size_t r = 0; r < count; ++r) names.push_back(trimmedName(r));
        return names;
    }
    std::string trimmedName(size_t r) const {
        const std::string name = adoPicMsg.text(r, "name");
        return name.substr(1, name.size() - 2);
    }
    static ResultsFilter named(const std::string& text, const std::string& verdict = "") {
        ResultsFilter f = verdictOnly(verdict);
        f.fileName = text;
        return f;
    }
};

using Names = std::vector<std::string>;

TEST_F(ResultsQueryOnTableTest, AnApostropheInTheFileNameFindsItsRow) {
    EXPECT_EQ(shown(named("o'neil")), Names{"o'neil"});
    EXPECT_EQ(shown(named("'")), Names{"o'neil"});
}

TEST_F(ResultsQueryOnTableTest, PercentAndUnderscoreTypedActAsWildcards) {
    EXPECT_EQ(shown(named("100%")), (Names{"100%", "1000"}));
    EXPECT_EQ(shown(named("a_b")), (Names{"a_b", "axb"}));
    EXPECT_EQ(shown(named("%")).size(), 7u);
}

TEST_F(ResultsQueryOnTableTest, NonAsciiBlanksAndDoubleQuotesAreFound) {
    EXPECT_EQ(shown(named("照片 一")), Names{"照片 一"});
    EXPECT_EQ(shown(named("\"x\"")), Names{"2023 \"x\""});
}

TEST_F(ResultsQueryOnTableTest, AFileNameShowsRowsOfAnyVerdict) {
    EXPECT_EQ(shown(named("0", "合格")), (Names{"100%", "1000", "2023 \"x\""}));
}

TEST_F(ResultsQueryOnTableTest, AQuotedVerdictFindsNothingInsteadOfEverything) {
    EXPECT_TRUE(shown(verdictOnly("合格' or '1'='1")).empty());
    EXPECT_TRUE(shown(blue("0", "100", "x' or 'a'='a")).empty());
    EXPECT_EQ(shown(verdictOnly("不合格")), (Names{"100%", "a_b", "照片 一"}));
}

TEST_F(ResultsQueryOnTableTest, HexadecimalRangesSelectByTheirValue) {
    EXPECT_EQ(shown(blue("$46", "0x5A", "合格")), (Names{"o'neil", "axb"}));
    EXPECT_EQ(shown(blue("x0", "X14")), (Names{"1000", "照片 一"}));
}

TEST_F(ResultsQueryOnTableTest, UnorderedRangeEndsShowNoRows) {
    EXPECT_TRUE(shown(blue("80", "20")).empty());
    EXPECT_EQ(shown(blue("20", "80")).size(), 4u);
}

TEST_F(ResultsQueryOnTableTest, AVerdictTypedByHandShowsNoRows) {
    EXPECT_TRUE(shown(verdictOnly("maybe")).empty());
    EXPECT_TRUE(shown(verdictOnly("%")).empty());
}

}  // namespace
}  // namespace photocheck
