#pragma once
#include <string>

#include "platform/OperatorError.h"

namespace photocheck {

// A working folder that cannot be used; the message, in Chinese, names the folder and the reason.
class WorkFolderError : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// The working folder holds the database, the parameter file and the two documents. The program
// deletes and replaces these four files in it (when one of them is missing) and keeps a lock file
// there, so it only ever uses a private folder: a real folder (not a link), owned by the user who
// runs the program, with no permission for group or others (mode 0700 or stricter). Nobody else can
// then have put a file or a link into it. A folder the program creates is made so (0700).

// The folder used when none is named, with its final separator. On Windows it is
// "C:\Windows\Temp\"; elsewhere "photocheck-<uid>" in the system's temporary directory ($TMPDIR or
// /tmp), created 0700 when missing. Since that folder is the program's own by its name, an existing
// one that others may enter is made private again; one that is a link, not a folder or another
// user's is refused with WorkFolderError.
std::string defaultWorkFolder();

// The working folder for a run or a window: the default one when `folder` is empty, otherwise the
// folder the operator named (for example with --work-folder), returned with a final separator.
// A named folder that does not exist is created with mode 0700 (one level: its parent must exist).
// A named folder that exists is taken as made private only when it already is private as described
// above, and is used as it stands: it is never chmod-ed, because it is the operator's folder, and a
// folder that others may write to (or a link, or another user's folder, or something that is no
// folder) is refused with WorkFolderError before any file in it is touched. A private folder counts
// as the program's: the four working files in it are replaced as in the default folder.
std::string prepareWorkFolder(const std::string& named);

// The working folder for a command that only reads, as it stands: the default one when `named` is
// empty, otherwise the named one, with a final separator, whether it exists or not. Nothing is
// created or changed: a folder that is a link, no folder, another user's, or one that others may
// enter is refused with WorkFolderError, as prepareWorkFolder refuses a named folder.
std::string workFolderAsItStands(const std::string& named);

}  // namespace photocheck
