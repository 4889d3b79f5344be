#pragma once
#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace photocheck::bench {

// The names the benchmarks are registered under; the ratios are looked up by them.
namespace names {
inline std::string decode(const std::string& photo) {
    return "decode/" + photo;
}
inline std::string fileCheck(const std::string& photo) {
    return "FileCheck/" + photo;
}
inline std::string stage2(const std::string& photo) {
    return "stage2/" + photo;
}
inline std::string stage3(const std::string& photo) {
    return "stage3/" + photo;
}
inline std::string fullCheck(const std::string& photo) {
    return "full/" + photo;
}
inline std::string fullWithMeasurements(const std::string& photo) {
    return "full+measurements/" + photo;
}
inline std::string paired(const std::string& photo) {
    return "decode+full/" + photo;
}
inline std::string firstPage(int rows) {
    return "results/first-page/" + std::to_string(rows);
}
inline std::string firstPageOfOneName(int rows) {
    return "results/first-page-one-name/" + std::to_string(rows);
}
inline std::string allRows(int rows) {
    return "results/all-rows/" + std::to_string(rows);
}
inline const char* const FolderRounds = "folder/decode+first-j1+second-j1+first-j2";
inline const char* const GrayLevelAll = "GrayLevel/all-triples";
inline const char* const GrayLevelRowsAll = "GrayLevelsOfPixels/all-triples";
inline const char* const GrayLevelExtendedAll = "GrayLevelExtended/all-triples";
}  // namespace names

// The console report, which also keeps the real time per iteration and the counters of every
// benchmark (the median when repetitions were asked for) so that the ratios can be worked out at the
// end of the run.
class RatioReport : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Seconds of real time per iteration, when the benchmark ran.
    std::optional<double> secondsOf(const std::string& name) const;
    // A counter the benchmark set, when it ran.
    std::optional<double> counterOf(const std::string& name, const std::string& counter) const;

  private:
    struct Measured {
        double seconds = 0;
        std::map<std::string, double> counters;
        bool fromMedian = false;
    };
    std::map<std::string, Measured> measured_;
};

// What the ratios are taken of: the photos measured one by one and the size of the batch folder.
struct RatioInputs {
    std::string passingPhoto;
    std::vector<std::string> photos;  // every photo measured one by one, passing one first
    int folderPhotos = 0;
};

// Prints the ratios to the decode floor and the targets, each with PASS or MISS. Returns whether
// every target whose figures were measured is met.
bool printRatios(const RatioReport& report, const RatioInputs& inputs, std::ostream& out);

}  // namespace photocheck::bench
