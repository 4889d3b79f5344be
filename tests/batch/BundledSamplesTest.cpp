#include <gtest/gtest.h>

#include "batch/JudgePhoto.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tools/samplegen/SampleSet.h"

namespace photocheck {
namespace {

using samplegen::SampleRecipe;

// The reason in a judged row, or "" when the row has none. Text values are written as ", ' text ' ",
// the reason and the verdict as ",'text'": when there are two of the latter, the first is the reason.
std::string reasonOf(const ResultRow& row) {
    std::vector<std::string> quoted;
    for (size_t at = row.values.find(",'"); at != std::string::npos; at = row.values.find(",'", at + 2)) {
        const size_t end = row.values.find('\'', at + 2);
        quoted.push_back(row.values.substr(at + 2, end - at - 2));
    }
    return quoted.size() == 2 ? quoted[0] : "";
}

TEST(BundledSamples, EachIsJudgedAsItsRecipeSays) {
    test::TempDir dir;
    for (const SampleRecipe& s : samplegen::bundledSamples()) {
        samplegen::writeSample(s, dir.path());
        for (const bool judgingPupils : {false, true}) {
            CheckContext ctx;
            ctx.params = test::packageThresholds();
            ctx.cbEyesLets = judgingPupils;
            const JudgedPhoto judged = JudgePhoto(ctx, dir.file(s.fileName), Unreadable::FailTheRow);
            EXPECT_EQ(reasonOf(judged.row), judgingPupils ? s.reasonJudgingPupils : s.reason)
                << s.fileName << (judgingPupils ? " judging pupils: " : ": ") << judged.row.values;
            EXPECT_EQ(judged.passed, (judgingPupils ? s.reasonJudgingPupils : s.reason).empty())
                << s.fileName;
        }
    }
}

}  // namespace
}  // namespace photocheck
