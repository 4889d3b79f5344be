#include <gtest/gtest.h>

#include <sstream>

#include "batch/RowsCsv.h"
#include "check/ResultRow.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

TEST(RowsCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csvField("plain text"), "plain text");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField("it's"), "it's");
}

TEST(RowsCsv, EveryColumnInTableOrderWithTrimmedTextAndEmptyNulls) {
    test::TempDir dir;
    auto db = test::createTestDatabase(dir.file("qob.trd"));
    Query q(*db);
    ResultRow row;
    row.beginWithName("my, \"best\" photo");
    row.addText("mode", "jpg");
    row.addText("pix", "390*567");
    row.addNumber("Picsize", 45);
    row.addNumber("bluePercent", 87);
    row.fail("背景不是浅蓝色", ResultRow::Blank::None);
    row.addVerdict(false);
    row.addText("folderPath", "/p/");
    ExecSql(q, row.insertStatement());
    ExecSql(q, "insert into pictureMsg (name) values ( ' b ' )");
    OpenSql(q, "select * from pictureMsg");

    std::ostringstream out;
    writeRowsCsv(q, out);
    EXPECT_EQ(out.str(),
              "\xEF\xBB\xBF"
              "name,mode,pix,Picsize,bluePercent,clarityPercent,headPercent,regularPercent,eyeLeftlet,"
              "eyeRightlet,reason,result,folderPath\r\n"
              "\"my, \"\"best\"\" photo\",jpg,390*567,45,87,,,,,,背景不是浅蓝色,不合格,/p/\r\n"
              "b,,,,,,,,,,,,\r\n");
}

}  // namespace
}  // namespace photocheck
