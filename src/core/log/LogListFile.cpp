#include "log/LogListFile.h"

#include <cerrno>

#include "platform/FileSystem.h"

namespace twinfold {
namespace {

std::string LinesOf(const LogList& list) {
    std::string text;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        text += list[i];
        text += "\r\n";
    }
    return text;
}

Error CannotCreate(const std::string& path) { return Error{"Cannot create file " + path}; }

}  // namespace

Status WriteLogList(const LogList& list, const std::string& path) {
    Status written = platform::ReplaceNamedFile(path, LinesOf(list));
    if (written) return written;
    // Running out of room is a write error; anything else means the file
    // could not be made at all.
    const int code = written.error().code;
    if (code == ENOSPC || code == EDQUOT || code == EFBIG || code == EIO) {
        return Error{"Stream write error"};
    }
    return CannotCreate(path);
}

FileDialog LogSaveDialog(const std::string& proposedName) {
    FileDialog dialog;
    dialog.title = "Save As";
    dialog.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    dialog.defaultExtension = "txt";
    dialog.fileName = proposedName;
    dialog.confirmOverwrite = true;
    return dialog;
}

}  // namespace twinfold
