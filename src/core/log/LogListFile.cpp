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

// The person's text first, then which file and the system's reason.
Error Unwritten(const std::string& path, const Error& cause) {
    // Running out of room is a write error; anything else means the file
    // could not be made at all.
    const int code = cause.code;
    const bool full = code == ENOSPC || code == EDQUOT || code == EFBIG || code == EIO;
    return Error{full ? "Stream write error: " + path + ": " + cause.message
                      : "Cannot create file " + path + ": " + cause.message,
                 code};
}

}  // namespace

Status WriteLogList(const LogList& list, const std::string& path) {
    // Log directories may be writable by others: a link planted at the name
    // is replaced, never written through.
    Status written = platform::ReplaceNamedFile(path, LinesOf(list), platform::LinkAtName::Replace);
    if (written) return written;
    return Unwritten(path, written.error());
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind(platform::kSeparator) + 1);
}

FileDialog LogSaveDialog(const std::string& proposedName, const std::string& directory) {
    FileDialog dialog;
    dialog.initialDirectory = directory;
    dialog.title = "Save As";
    dialog.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    dialog.defaultExtension = "txt";
    dialog.fileName = proposedName;
    dialog.confirmOverwrite = true;
    return dialog;
}

}  // namespace twinfold
