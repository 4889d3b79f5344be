// photocheck-bench-folder: writes a folder of generated ID photos for batch-run measurements.
#include <CLI/CLI.hpp>
#include <iostream>

#include "bench/PhotoFolder.h"

int main(int argc, char** argv) {
    CLI::App app{"Writes COUNT photos into FOLDER: DISTINCT painted ones, the rest copies of them."};
    std::string folder;
    photocheck::bench::PhotoFolderPlan plan;
    app.add_option("FOLDER", folder, "Folder to fill (created when missing)")->required();
    app.add_option("--count", plan.count, "Number of files")->capture_default_str();
    app.add_option("--distinct", plan.distinct, "Number of painted photos")->capture_default_str();
    CLI11_PARSE(app, argc, argv);
    try {
        const auto paths = photocheck::bench::writePhotoFolder(folder, plan);
        std::cout << paths.size() << " photos in " << folder << "\n";
    } catch (const std::exception& e) {
        std::cerr << "photocheck-bench-folder: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
