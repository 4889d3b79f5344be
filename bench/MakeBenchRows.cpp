// photocheck-bench-rows: fills the results table of a working folder with generated rows.
#include <CLI/CLI.hpp>
#include <iostream>

#include "bench/ResultRows.h"

int main(int argc, char** argv) {
    CLI::App app{"Replaces the rows of pictureMsg in WORK/qob.trd with ROWS generated ones."};
    std::string work;
    int rows = 100000;
    app.add_option("WORK", work, "Working folder holding qob.trd")->required();
    app.add_option("--rows", rows, "Number of rows")->capture_default_str();
    CLI11_PARSE(app, argc, argv);
    try {
        const auto db = photocheck::openWorkDatabase(work + "/");
        photocheck::bench::fillResultsTable(*db, rows);
        std::cout << rows << " rows in " << work << "/qob.trd\n";
    } catch (const std::exception& e) {
        std::cerr << "photocheck-bench-rows: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
