// Builds the data package xl.oef: the database, the parameter file and the two documents, encrypted
// with the package password.
#include <CLI/CLI.hpp>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "store/Database.h"
#include "store/PackageInstall.h"
#include "store/Parameters.h"
#include "tools/RtfDocument.h"
#include "tools/ZipWriter.h"

namespace photocheck {
namespace {

struct Sources {
    std::string schema;      // the tables, as SQL
    std::string parameters;  // the parameter file in UTF-8
    std::string readme;      // the operator's guide, UTF-8 text
    std::string versions;    // the version notes, UTF-8 text
    std::string output;
};

std::string readFile(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
        throw std::runtime_error("Cannot write " + path);
}

// A private folder for the package's files, removed with them at the end.
class ScratchFolder {
  public:
    ScratchFolder() : path_(createUniqueFolder(temporaryFolder() + "make-package-")) {}
    ~ScratchFolder() { removeTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string file(const std::string& name) const { return joinPath(path_, name); }

  private:
    std::string path_;
};

// The parameter file as the program reads it: GBK, lines ending in CR LF.
std::string parameterFileInGbk(const std::string& utf8) {
    std::string crlf;
    std::istringstream lines(utf8);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        crlf += line + "\r\n";
    }
    return utf8ToGbk(crlf);
}

void createDatabase(const std::string& path, const std::string& schema, const DetectionParameters& p) {
    Database db = Database::create(path, DatabaseKey);
    db.execute(schema);
    db.execute("insert into preParameters (PreSize,PreBlue,PreClarity,PreRegular,PreHead) values (" +
               std::to_string(p.ParamFileSizeKb) + "," + std::to_string(p.ParamBlueRatio) + "," +
               std::to_string(p.ParamClarity) + "," + std::to_string(p.ParamRegularity) + "," +
               std::to_string(p.ParamHeadRatio) + ")");
}

uint32_t dosDateTimeNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm t = localTimeOf(now);
    return static_cast<uint32_t>(t.tm_year - 80) << 25 | static_cast<uint32_t>(t.tm_mon + 1) << 21 |
           static_cast<uint32_t>(t.tm_mday) << 16 | static_cast<uint32_t>(t.tm_hour) << 11 |
           static_cast<uint32_t>(t.tm_min) << 5 | static_cast<uint32_t>(t.tm_sec / 2);
}

void addMember(ZipWriter& zip, const std::string& name, const std::string& data, uint32_t dateTime) {
    ZipWriterEntry e;
    e.name = name;
    e.data = data;
    e.password = PackagePassword;
    e.dosDateTime = dateTime;
    zip.add(e);
}

void buildPackage(const Sources& sources) {
    const ScratchFolder scratch;
    const std::string iniPath = scratch.file(ParameterFileName);
    writeFile(iniPath, parameterFileInGbk(readFile(sources.parameters)));
    DetectionParameters params;
    LoadParametersFromFile(iniPath, params);  // the table takes exactly the file's values

    const std::string databasePath = scratch.file(DatabaseFileName);
    createDatabase(databasePath, readFile(sources.schema), params);

    const uint32_t now = dosDateTimeNow();
    ZipWriter zip;
    addMember(zip, ReadmeFileName, rtfFromText(readFile(sources.readme)), now);
    addMember(zip, VersionsFileName, rtfFromText(readFile(sources.versions)), now);
    addMember(zip, DatabaseFileName, readFile(databasePath), now);
    addMember(zip, ParameterFileName, readFile(iniPath), now);
    const std::string partial = sources.output + ".part";
    zip.writeTo(partial);
    std::string reason;
    if (!replaceFile(partial, sources.output, &reason))
        throw std::runtime_error("Cannot write " + sources.output + ": " + reason);
    std::cout << "make-package: " << sources.output << " (" << params.ParamFileSizeKb << "/"
              << params.ParamBlueRatio << "/" << params.ParamClarity << "/" << params.ParamRegularity << "/"
              << params.ParamHeadRatio << ")\n";
}

}  // namespace
}  // namespace photocheck

int main(int argc, char** argv) try {
    photocheck::Sources sources;
    CLI::App app("Builds the data package xl.oef from the sources in data/");
    app.add_option("--schema", sources.schema, "The tables (schema.sql)")->required();
    app.add_option("--parameters", sources.parameters, "The parameter file in UTF-8")->required();
    app.add_option("--readme", sources.readme, "The operator's guide, UTF-8 text")->required();
    app.add_option("--versions", sources.versions, "The version notes, UTF-8 text")->required();
    app.add_option("--output", sources.output, "The package to write")->required();
    CLI11_PARSE(app, argc, argv);
    photocheck::buildPackage(sources);
    return 0;
} catch (const std::exception& e) {
    std::cerr << "make-package: " << e.what() << "\n";
    return 1;
}
