#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "report/RunReport.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/SystemSupport.h"
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

// A run with a report of its failed photos; the page.
struct ReportedRunTest : RunReportTest {
    std::string reportedPage() {
        options.checks.keepMeasurements = true;
        const std::string page = dir.file("report.html");
        RunReport report(page, photos);
        BatchEvents events;
        events.onPhotoStored = [&report](const JudgedPhoto& photo) { report.add(photo); };
        const BatchSummary summary = RunBatch(adoPicMsg, options, events, state);
        report.finish({summary, options.checks, "2024-05-01 14:03"});
        return test::readFile(page);
    }
    // The reasons' table: reason, count and share, in its order.
    std::vector<std::string> reasonRows(const std::string& html) const {
        std::vector<std::string> rows;
        const size_t table = html.find("<th>占不合格</th>");
        for (size_t at = html.find("<tr><td><a", table);
             at != std::string::npos && at < html.find("</table>", table);
             at = html.find("<tr><td><a", at + 1)) {
            const size_t name = html.find("\">", at) + 2;
            const size_t count = html.find("<td class=\"number\">", at) + 19;
            const size_t share = html.find("<td class=\"number\">", count) + 19;
            rows.push_back(html.substr(name, html.find("</a>", name) - name) + " " +
                           html.substr(count, html.find('<', count) - count) + " " +
                           html.substr(share, html.find('<', share) - share));
        }
        return rows;
    }
};

TEST_F(ReportedRunTest, ANameThatIsMarkupShowsAsText) {
    if (test::onWindows()) {  // no "<" nor ">" in a Windows name, but entities and quotes
        put("&lt;b&gt; & 'x'.txt", "not a photo");
        EXPECT_NE(reportedPage().find("<span class=\"name\">&amp;lt;b&amp;gt; &amp; &#39;x&#39;.txt</span>"),
                  std::string::npos);
        return;
    }
    put("<img src=x onerror=alert(1)>.txt", "not a photo");
    const std::string html = reportedPage();
    EXPECT_EQ(html.find("<img src=x"), std::string::npos);
    EXPECT_NE(html.find("<span class=\"name\">&lt;img src=x onerror=alert(1)&gt;.txt</span>"),
              std::string::npos);
}

TEST_F(ReportedRunTest, TheMostFrequentReasonComesFirst) {
    put("a.txt", "not a photo");  // met first, the rarer reason
    test::writeSmallJpeg(at("b.jpg"));
    test::writeSmallJpeg(at("c.jpg"));
    const std::string html = reportedPage();
    EXPECT_EQ(reasonRows(html),
              (std::vector<std::string>{"照片像素必须是390*567 2 67%", "照片格式必须是JPG 1 33%"}));
    EXPECT_LT(html.find("<h3 id=\"reason-2\">照片像素必须是390*567"),
              html.find("<h3 id=\"reason-1\">照片格式必须是JPG"));
}

TEST_F(ReportedRunTest, AShareIsRoundedToTheNearestWholePercent) {
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) put(name, "not a photo");
    for (const char* name : {"f.jpg", "g.jpg", "h.jpg", "i.jpg", "j.jpg", "k.jpg", "l.jpg", "m.jpg", "n.jpg",
                             "o.jpg", "p.jpg", "q.jpg"})
        test::writeSmallJpeg(at(name));
    // 12 of 17 are 70.6 %, 5 of 17 are 29.4 %.
    EXPECT_EQ(reasonRows(reportedPage()),
              (std::vector<std::string>{"照片像素必须是390*567 12 71%", "照片格式必须是JPG 5 29%"}));
}

}  // namespace
}  // namespace photocheck
