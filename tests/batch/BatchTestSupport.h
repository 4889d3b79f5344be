#pragma once
#include <memory>
#include <string>
#include <vector>

#include "store/Database.h"

namespace photocheck::test {

// A fresh encrypted database file with the tables pictureMsg and preParameters.
std::unique_ptr<Database> createTestDatabase(const std::string& path);

// Creates a folder and the folders above it.
void makeFolders(const std::string& path);

// A small JPEG (not the photo size), and a JPEG of the photo size; the variant shifts the pattern.
void writeSmallJpeg(const std::string& path, int width = 20, int height = 30);
void writePhotoSizedJpeg(const std::string& path, int variant = 0);

// The names in a folder (not below it), sorted; empty when the folder is missing.
std::vector<std::string> namesIn(const std::string& folder);

// Every row of pictureMsg in table order, each value as text, "NULL" for a missing value.
std::vector<std::vector<std::string>> tableRows(Database& db);

}  // namespace photocheck::test
