// The settings dialog's edits typed to break the update statement: quotes, statements, numbers beyond
// 32 bits, hexadecimal forms and blanks. Each one is converted, refused with a message, or refused
// with the conversion error, and then the table is never touched.
#include <gtest/gtest.h>

#include "store/Parameters.h"
#include "tests/support/TestSupport.h"

#ifndef PHOTOCHECK_SCHEMA
#error "PHOTOCHECK_SCHEMA must name data/schema.sql"
#endif

namespace photocheck {
namespace {

struct HostileEditsTest : ::testing::Test {
    test::TempDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<Query> query;
    DetectionParameters params;

    void SetUp() override {
        {
            Database created = Database::create(dir.file(DatabaseFileName), DatabaseKey);
            created.execute(test::readFile(PHOTOCHECK_SCHEMA));
            created.execute("insert into preParameters values (25, 70, 150, 80, 40)");
        }
        db = std::make_unique<Database>(dir.file(DatabaseFileName), DatabaseKey);
        query = std::make_unique<Query>(*db);
    }

    std::string storedRows() {
        Query q(*db);
        OpenSql(q, "select * from preParameters");
        std::string out;
        const size_t count = q.fetchAll();
        for (size_t r = 0; r < count; ++r)
            out += q.text(r, "PreSize") + "/" + q.text(r, "PreBlue") + "/" + q.text(r, "PreClarity") + "/" +
                   q.text(r, "PreRegular") + "/" + q.text(r, "PreHead") + ";";
        return out;
    }

    // The conversion error's message, or the dialog's own message.
    std::string confirm(ParameterEdits edits) {
        try {
            return ConfirmParameterSettings(*query, edits, params).message;
        } catch (const ConversionError& e) {
            return e.what();
        }
    }
};

TEST_F(HostileEditsTest, QuotesAndStatementsAreNoNumbersAndNothingIsWritten) {
    EXPECT_EQ(confirm({"30'; delete from preParameters; --", "90", "200", "90", "50"}),
              "'30'; delete from preParameters; --' is not a valid integer value");
    EXPECT_EQ(confirm({"30", "90", "200", "90", "50 or 1=1"}), "'50 or 1=1' is not a valid integer value");
    EXPECT_EQ(confirm({"30", "90", "200\"", "90", "50"}), "'200\"' is not a valid integer value");
    EXPECT_EQ(storedRows(), "25/70/150/80/40;");
    EXPECT_EQ(params.ParamFileSizeKb, 0);
}

TEST_F(HostileEditsTest, NumbersBeyondThirtyTwoBitsAreRefusedAndTheLimitsKept) {
    EXPECT_EQ(confirm({"99999999999", "90", "200", "90", "50"}),
              "'99999999999' is not a valid integer value");
    // 2^32 + 90 would read as 90 if the value were cut to 32 bits.
    EXPECT_EQ(confirm({"30", "4294967386", "200", "90", "50"}), "'4294967386' is not a valid integer value");
    EXPECT_EQ(storedRows(), "25/70/150/80/40;");
    EXPECT_EQ(confirm({"-2147483648", "90", "2147483647", "90", "50"}), "设置成功");
    EXPECT_EQ(storedRows(), "-2147483648/90/2147483647/90/50;");
    EXPECT_EQ(params.ParamClarity, 2147483647);
}

TEST_F(HostileEditsTest, HexadecimalFormsAreStoredAsTheirValueAndRangeChecked) {
    EXPECT_EQ(confirm({"x1E", "$63", "0xC8", "0X5A", "$32"}), "设置成功");
    EXPECT_EQ(storedRows(), "30/99/200/90/50;");
    EXPECT_EQ(confirm({"30", "0x64", "200", "90", "50"}), "蓝底比要大于等于0小于100");
    EXPECT_EQ(confirm({"30", "90", "200", "-$1", "50"}), "端正度要大于等于0小于100");
    EXPECT_EQ(confirm({"30", "90", "200", "90", "$FFFFFFFF"}), "'$FFFFFFFF' is not a valid integer value");
    EXPECT_EQ(storedRows(), "30/99/200/90/50;");
}

TEST_F(HostileEditsTest, LeadingBlanksAreAcceptedTrailingOnesAreNot) {
    EXPECT_EQ(confirm({"  31", " 91", "   ", "\t", "  51"}), "设置成功");
    EXPECT_EQ(storedRows(), "31/91/0/0/51;");
    EXPECT_EQ(confirm({"32 ", "92", "200", "90", "50"}), "'32 ' is not a valid integer value");
    EXPECT_EQ(confirm({"32", "9 2", "200", "90", "50"}), "'9 2' is not a valid integer value");
    EXPECT_EQ(storedRows(), "31/91/0/0/51;");
}

}  // namespace
}  // namespace photocheck
