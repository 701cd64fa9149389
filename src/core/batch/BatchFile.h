#pragma once

#include <string>
#include <vector>

#include "platform/Result.h"

namespace twinfold {

// A batch file: the settings files of one batch run, in order, as keys
// File0, File1, ... of section "Files". The list ends at the first absent key
// or at a value that is exactly "Done". The file is read and parsed once.
// A file that cannot be read (missing, a directory, a FIFO, over 16 MiB, no
// permission) is the error.
Result<std::vector<std::string>> ReadBatchList(const std::string& path);
// The same with every unreadable file taken as an empty list.
std::vector<std::string> ReadBatchFile(const std::string& path);

// Writes exactly `entries`, replacing the file in one step so that a failure
// keeps the old list; the error's message is the one the person is shown
// ("Unable to write to %s"). An empty list removes the file. An entry holding
// a line end or NUL is refused, with the file and its key named, before
// anything changes.
Status WriteBatchFile(const std::string& path, const std::vector<std::string>& entries);

}  // namespace twinfold
