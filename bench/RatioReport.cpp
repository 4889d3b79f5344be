#include "bench/RatioReport.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "bench/Benchmarks.h"
#include "store/ResultsSchema.h"

namespace photocheck::bench {
namespace {

constexpr double FullCheckMostFloors = 1.1;  // processor time
constexpr double BatchMostFloors = 1.3;      // processor time
constexpr double SecondRunMostFirst = 1.2;   // processor time
// The -j 2 speed-up as a share of what two bare decoders side by side get over one, in percent (the
// median of the rounds, each run set against its own floor).
constexpr double TwoThreadsLeastShareOfDecoders = 95;
constexpr double TriplesPerPass = 256.0 * 256.0 * 256.0;
constexpr double FirstPageMostMs = 200;  // the window shows the first page at once, a filter too
constexpr double ResultsMemoryMostGrowth = 1.1;

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

void line(std::ostream& out, const std::string& what, const std::string& figure,
          const std::string& note = "") {
    char text[256];
    std::snprintf(text, sizeof text, "  %-46s %18s   %s", what.c_str(), figure.c_str(), note.c_str());
    out << text << "\n";
}

class Verdicts {
  public:
    // One target: the figure, the limit and whether it is met.
    void target(std::ostream& out, const std::string& what, double figure, const std::string& unit,
                bool atMost, double limit) {
        const bool met = atMost ? figure <= limit : figure >= limit;
        allMet_ = allMet_ && met;
        line(out, what, format("%.2f ", figure) + unit,
             std::string("target ") + (atMost ? "<= " : ">= ") + format("%.1f", limit) + "   " +
                 (met ? "PASS" : "MISS"));
    }
    void notMeasured(std::ostream& out, const std::string& what) {
        line(out, what, "not measured", "(run without a filter to see it)");
    }
    bool allMet() const { return allMet_; }

  private:
    bool allMet_ = true;
};

void printStageRatios(const RatioReport& report, const std::string& photo, std::ostream& out) {
    const std::optional<double> floor = report.secondsOf(names::decode(photo));
    if (!floor) return;
    line(out, "decode floor, " + photo, format("%.3f ms", *floor * 1e3));
    const std::pair<std::string, std::string> stages[] = {
        {"FileCheck", names::fileCheck(photo)},
        {"stage 2", names::stage2(photo)},
        {"stage 3", names::stage3(photo)},
        {"full three-stage check", names::fullCheck(photo)},
    };
    for (const auto& [label, name] : stages)
        if (const std::optional<double> s = report.secondsOf(name))
            line(out, "  " + label, format("%.2f x floor", *s / *floor), format("%.3f ms", *s * 1e3));
}

std::string thousands(int n) {
    std::string text = std::to_string(n);
    for (int at = static_cast<int>(text.size()) - 3; at > 0; at -= 3)
        text.insert(static_cast<size_t>(at), ",");
    return text;
}

// Time and peak allocation of the readings of the results table at each size; the targets: the first page
// shows at once at the largest size, and the memory does not grow with the table.
void printResults(const RatioReport& report, Verdicts& verdicts, std::ostream& out) {
    out << "\nResults browser (first page of " << ResultsPageRows << " rows; memory allocated at most)\n";
    const int smallest = ResultsTableSizes[0];
    const int largest = ResultsTableSizes[std::size(ResultsTableSizes) - 1];
    const std::pair<std::string, std::string (*)(int)> readings[] = {
        {"first page", names::firstPage},
        {"first page by name", names::firstPageOfOneName},
        {"all rows once", names::allRows},
    };
    for (const auto& [label, name] : readings) {
        for (const int rows : ResultsTableSizes) {
            const std::optional<double> s = report.secondsOf(name(rows));
            const std::optional<double> kb = report.counterOf(name(rows), "peak_kb");
            if (!s || !kb) continue;
            line(out, label + ", " + thousands(rows) + " rows", format("%.2f ms", *s * 1e3),
                 format("peak %.0f KB", *kb));
        }
    }
    const std::string worst = names::firstPageOfOneName(largest);
    if (const std::optional<double> s = report.secondsOf(worst))
        verdicts.target(out, "first page at " + thousands(largest) + " rows, by name", *s * 1e3, "ms", true,
                        FirstPageMostMs);
    else
        verdicts.notMeasured(out, "first page at " + thousands(largest) + " rows");
    for (const auto& [label, name] : readings) {
        const std::optional<double> small = report.counterOf(name(smallest), "peak_kb");
        const std::optional<double> large = report.counterOf(name(largest), "peak_kb");
        if (!small || !large) continue;
        // Below 64 KB, a few pages of the engine's cache, the difference is noise.
        const double ratio = std::max(*large, 64.0) / std::max(*small, 64.0);
        verdicts.target(out, "peak " + thousands(largest) + "/" + thousands(smallest) + " rows, " + label,
                        ratio, "x", true, ResultsMemoryMostGrowth);
    }
}

}  // namespace

void RatioReport::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median) continue;
        Measured& m = measured_[run.run_name.function_name];
        if (m.fromMedian && !median) continue;
        m.seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
        m.fromMedian = median;
        m.counters.clear();
        for (const auto& [counter, value] : run.counters) m.counters[counter] = value.value;
    }
    ConsoleReporter::ReportRuns(runs);
}

std::optional<double> RatioReport::secondsOf(const std::string& name) const {
    const auto found = measured_.find(name);
    if (found == measured_.end()) return std::nullopt;
    return found->second.seconds;
}

std::optional<double> RatioReport::counterOf(const std::string& name, const std::string& counter) const {
    const auto found = measured_.find(name);
    if (found == measured_.end()) return std::nullopt;
    const auto value = found->second.counters.find(counter);
    if (value == found->second.counters.end()) return std::nullopt;
    return value->second;
}

bool printRatios(const RatioReport& report, const RatioInputs& inputs, std::ostream& out) {
    Verdicts verdicts;
    out << "\nRatios (real time, all from this run)\n";
    for (const std::string& photo : inputs.photos) printStageRatios(report, photo, out);

    out << "\nTargets\n";
    const std::string paired = names::paired(inputs.passingPhoto);
    const std::optional<double> ratio = report.counterOf(paired, "ratio");
    const std::optional<double> ratioCpu = report.counterOf(paired, "ratio_cpu");
    const std::string fullLabel = "full check / decode floor, processor time, " + inputs.passingPhoto;
    if (ratio && ratioCpu) {
        line(out, "decode floor, taken in turn with the check",
             format("%.3f ms", report.counterOf(paired, "floor_ms").value_or(0)));
        line(out, "full three-stage check, taken in turn",
             format("%.3f ms", report.counterOf(paired, "full_ms").value_or(0)),
             format("real time: %.2f x floor", *ratio));
        verdicts.target(out, fullLabel, *ratioCpu, "x", true, FullCheckMostFloors);
    } else {
        verdicts.notMeasured(out, fullLabel);
    }

    const auto folder = [&](const char* counter) { return report.counterOf(names::FolderRounds, counter); };
    const std::optional<double> floor = folder("floor_ms"), floorCpu = folder("floor_cpu_ms");
    const std::optional<double> j1 = folder("j1_ms"), j1Cpu = folder("j1_cpu_ms");
    const std::optional<double> second = folder("second_ms"), secondCpu = folder("second_cpu_ms");
    const std::optional<double> j2 = folder("j2_ms"), floor2 = folder("floor2_ms");
    if (floor && floorCpu && j1 && j1Cpu && second && secondCpu && j2 && floor2) {
        const std::string photos = " (" + std::to_string(inputs.folderPhotos) + " photos)";
        const auto perPhoto = [](double wall, double cpu) {
            return format("%.3f ms", wall) + format(", processor %.3f ms", cpu);
        };
        line(out, "decode floor per photo" + photos, perPhoto(*floor, *floorCpu));
        line(out, "batch -j 1 per photo, first run", perPhoto(*j1, *j1Cpu),
             format("real time: %.2f x floor", *j1 / *floor));
        line(out, "batch -j 1 per photo, second run", perPhoto(*second, *secondCpu),
             format("real time: %.2f x first run", *second / *j1));
        line(out, "batch -j 2 per photo, first run", format("%.3f ms", *j2),
             format("%.0f photos/s", 1e3 / *j2));
        line(out, "batch photos/s, -j 2 / -j 1", format("%.2f x", *j1 / *j2));
        line(out, "decoding alone, two threads / one", format("%.2f x", *floor / *floor2),
             "(what the machine gives two decoders side by side)");
        verdicts.target(out, "batch -j 1 / decode floor, processor time", *j1Cpu / *floorCpu, "x", true,
                        BatchMostFloors);
        verdicts.target(out, "second run / first run, processor time", *secondCpu / *j1Cpu, "x", true,
                        SecondRunMostFirst);
        if (const std::optional<double> share = folder("j2_share")) {
            verdicts.target(out, "-j 2 speed-up / decoding's, round by round", 100 * *share, "%", false,
                            TwoThreadsLeastShareOfDecoders);
            line(out, "  rounds",
                 format("%.1f", 100 * folder("j2_share_low").value_or(0)) +
                     format(" to %.1f %%", 100 * folder("j2_share_high").value_or(0)));
        } else {
            verdicts.notMeasured(out, "-j 2 speed-up / decoding's, round by round");
        }
        if (const std::optional<double> machine = folder("machine_2threads"))
            line(out, "  two busy threads / one, same run", format("%.2f x", *machine),
                 "(2.00 on idle cores; other work on the machine lowers it and both -j 2 figures)");
    } else {
        verdicts.notMeasured(out, "batch -j 1 / decode floor, processor time");
        verdicts.notMeasured(out, "second run / first run, processor time");
        verdicts.notMeasured(out, "-j 2 speed-up / decoding's, round by round");
    }

    out << "\nGrayLevel\n";
    if (const std::optional<double> s = report.secondsOf(names::GrayLevelAll))
        line(out, "GrayLevel, all 16,777,216 triples", format("%.1f ms", *s * 1e3),
             format("%.2f ns per triple", *s / TriplesPerPass * 1e9));
    if (const std::optional<double> s = report.secondsOf(names::GrayLevelRowsAll))
        line(out, "GrayLevelsOfPixels, all triples in rows of 390", format("%.1f ms", *s * 1e3),
             format("%.2f ns per triple", *s / TriplesPerPass * 1e9));
    if (const std::optional<double> s = report.secondsOf(names::GrayLevelExtendedAll))
        line(out, "extended evaluation, all triples", format("%.1f ms", *s * 1e3),
             format("%.2f ns per triple", *s / TriplesPerPass * 1e9));
    printResults(report, verdicts, out);
    out << "\nPeak memory of the batch run: bench/batch-memory.sh; of the command line's results: "
           "bench/results-memory.sh\n";
    out << (verdicts.allMet() ? "Every measured target is met.\n" : "A target is missed.\n");
    return verdicts.allMet();
}

}  // namespace photocheck::bench
