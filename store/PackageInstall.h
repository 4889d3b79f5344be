#pragma once
#include <functional>
#include <string>
#include <vector>

#include "store/ZipExtractor.h"

namespace photocheck {

inline const char* const PackageFileName = "xl.oef";
inline const char* const PackagePassword = "kvrdemtl";

// The four working files, in the order they are tested and deleted at installation.
inline const char* const ReadmeFileName = "readme.doc";
inline const char* const VersionsFileName = "versions.doc";

using OverwritePrompt = std::function<bool(const std::string& fileName)>;  // true = Yes

// The four working files that are not in the folder, in the order they are tested; none when all are.
std::vector<std::string> missingWorkFiles(const std::string& workFolder);

// Installs the four working files from the package when any of them is missing: creates the folder
// (one level), deletes all four (and the database's journal files), then extracts every member of
// the package with the package password. So a missing document alone replaces the database with its
// rows and the parameter file as well. Errors of the package (missing, damaged) propagate.
// A member with an unknown compression method is reported through `report` ("Zip Error").
void InstallWorkFiles(const std::string& workFolder, const std::string& packagePath,
                      const OverwritePrompt& prompt, const ZipErrorReport& report = {});

// Deletes the four working files (and the database's journal files), ignoring failures.
void CleanUpWorkFiles(const std::string& workFolder);

// Whether a path names one of the files the program keeps in the working folder (the four working
// files, the database's journal files, the lock file), as the same file or as the same name there:
// an output the operator names must never be written over them.
bool isWorkingFile(const std::string& path, const std::string& workFolder);

}  // namespace photocheck
