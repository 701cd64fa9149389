#pragma once

#include <string>

#include "desktop/Desktop.h"
#include "log/LogList.h"
#include "platform/Result.h"

namespace twinfold {

// Writes `list` to `path` as text, every entry followed by "\r\n". The file
// is replaced in one step, so a failure leaves whatever was there before and
// no partial file; a link standing at `path` is replaced, not followed. The
// error's message is the one the person is shown: "Cannot create file
// <path>: <reason>" or "Stream write error: <path>: <reason>".
Status WriteLogList(const LogList& list, const std::string& path);

// The save dialog a list of lines is saved through: text files, proposing
// `proposedName`, asking before it replaces a file.
FileDialog LogSaveDialog(const std::string& proposedName, const std::string& directory);
// The folder part of a chosen file's path, with its trailing separator.
std::string FolderOf(const std::string& path);

}  // namespace twinfold
