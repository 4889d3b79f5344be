#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "report/RunReport.h"
#include "tests/batch/BatchTestSupport.h"
#include "tools/samplegen/SampleSet.h"

namespace photocheck {
namespace {

namespace fs = std::filesystem;

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

// The gallery's group of one reason: from its heading to the next group.
std::string groupOf(const std::string& page, const std::string& reason) {
    const size_t heading = page.find("\">" + reason + "（");
    if (heading == std::string::npos || page.rfind("<h3", heading) == std::string::npos) return "";
    const size_t end = page.find("</section>", heading);
    return page.substr(heading, end - heading);
}

struct RunReportTest : test::BatchFolderTest {};

// The bundled samples (one or two per reason, three passing) painted afresh, one of them twice in a
// subfolder, and a text file, judged on two threads.
TEST_F(RunReportTest, ListsEveryFailedPhotoOnceUnderItsReason) {
    std::map<std::string, std::string> reasonOf;  // file name -> reason, empty when it passes
    for (const samplegen::SampleRecipe& recipe : samplegen::bundledSamples()) {
        samplegen::writeSample(recipe, photos + "/");
        reasonOf[recipe.fileName] = recipe.reason;
    }
    test::makeFolders(at("sub"));
    fs::copy_file(at("glasses.jpg"), at("sub/glasses-again.jpg"));
    reasonOf["glasses-again.jpg"] = "佩戴眼镜或头歪斜";
    put("notes.txt", "not a photo");
    reasonOf["notes.txt"] = "照片格式必须是JPG";

    options.checks.params = {30, 90, 200, 90, 50};
    options.threads = 2;
    const std::string page = dir.file("report.html");
    {
        RunReport report(page, photos);
        BatchEvents events;
        collectInto(report, options, events);
        const BatchSummary summary = RunBatch(adoPicMsg, options, events, state);
        report.finish({summary, options.checks, "2024-05-01 14:03"});
    }

    const std::string html = test::readFile(page);
    int failed = 0;
    for (const auto& [name, reason] : reasonOf) {
        SCOPED_TRACE(name);
        const std::string figure = "<span class=\"name\">" + name + "</span>";
        if (reason.empty()) {
            EXPECT_EQ(occurrences(html, figure), 0u);
            continue;
        }
        ++failed;
        EXPECT_EQ(occurrences(html, figure), 1u);
        EXPECT_EQ(occurrences(groupOf(html, reason), figure), 1u) << "not under " << reason;
    }
    EXPECT_EQ(occurrences(html, "<figure>"), static_cast<size_t>(failed));
    EXPECT_EQ(occurrences(html, "<img src=\"data:image/jpeg;base64,"), static_cast<size_t>(failed));
    EXPECT_EQ(html.find("http"), std::string::npos);  // nothing fetched
    EXPECT_NE(html.find(">不合格数</th><td class=\"number\">" + std::to_string(failed) + "<"),
              std::string::npos);
    for (const std::string& name : test::namesIn(dir.path()))
        EXPECT_EQ(name.find(".report.html"), std::string::npos) << "left beside the page: " << name;
}

}  // namespace
}  // namespace photocheck
