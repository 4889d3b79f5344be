// make-samples: writes the bundled sample photos (or some of them) into a folder.
#include <CLI/CLI.hpp>
#include <iostream>
#include <set>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tools/samplegen/SampleSet.h"

using photocheck::samplegen::bundledSamples;
using photocheck::samplegen::SampleRecipe;

namespace {

void listSamples(const std::vector<SampleRecipe>& set) {
    for (const SampleRecipe& s : set) {
        std::cout << s.fileName << "\t" << (s.reason.empty() ? "合格" : s.reason);
        if (s.reasonJudgingPupils != s.reason)
            std::cout << " (judging pupils: " << s.reasonJudgingPupils << ")";
        std::cout << "\t" << s.purpose << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) try {
    CLI::App app{"Writes synthetic 390 x 567 ID photos: the bundled sample set or a part of it."};
    std::string folder;
    std::vector<std::string> only;
    bool list = false;
    app.add_option("folder", folder, "Folder to write the photos into (created when missing)");
    app.add_option("--only", only, "File names of the samples to write (default: all)");
    app.add_flag("--list", list, "List the samples with the verdict each should get, and stop");
    CLI11_PARSE(app, argc, argv);

    const std::vector<SampleRecipe> set = bundledSamples();
    if (list) {
        listSamples(set);
        return 0;
    }
    if (folder.empty()) {
        std::cerr << "make-samples: a folder is needed (see --help)\n";
        return 2;
    }
    photocheck::createFolders(folder);
    folder = photocheck::withFinalSeparator(folder);
    const std::set<std::string> wanted(only.begin(), only.end());
    std::set<std::string> written;
    for (const SampleRecipe& s : set) {
        if (!wanted.empty() && !wanted.count(s.fileName)) continue;
        photocheck::samplegen::writeSample(s, folder);
        written.insert(s.fileName);
        std::cout << folder << s.fileName << "\n";
    }
    for (const std::string& name : wanted)
        if (!written.count(name)) throw std::runtime_error("no sample is named \"" + name + "\"");
    return 0;
} catch (const std::exception& e) {
    std::cerr << "make-samples: " << e.what() << "\n";
    return 1;
}
