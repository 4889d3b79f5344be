#pragma once
#include <string>

namespace photocheck {

// The folder that holds the database, the parameter file and the two documents, with its final
// separator. On Windows it is "C:\Windows\Temp\"; elsewhere a private folder of the user in the
// system's temporary directory, created with mode 0700. Refused (std::runtime_error) when that folder
// is a link or belongs to another user.
std::string defaultWorkFolder();

// Makes sure a folder given by the user exists and ends with a separator.
std::string prepareWorkFolder(const std::string& folder);

}  // namespace photocheck
