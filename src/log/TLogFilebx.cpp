#include "log/TLogFilebx.h"

#include <optional>

#include "platform/FileSystem.h"

namespace twinfold {
namespace {

enum class SaveFailure { Create, Write };

FileDialog SaveLogDialog(const std::string& proposedName) {
    FileDialog dialog;
    dialog.title = "Save As";
    dialog.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    dialog.defaultExtension = "txt";
    dialog.fileName = proposedName;
    dialog.confirmOverwrite = true;
    return dialog;
}

std::string LinesOf(const LogList& list) {
    std::string text;
    for (const auto& entry : list.Entries()) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

// A read-only file or a directory in the way cannot be replaced, just as it
// could not be opened for writing.
bool CanReplace(const std::string& path) {
    auto entry = platform::QueryEntry(path);
    if (!entry) return true;
    return (entry->attributes & (platform::kReadOnly | platform::kDirectory)) == 0;
}

std::optional<SaveFailure> WriteReplacing(const std::string& path, const std::string& text) {
    if (!CanReplace(path)) return SaveFailure::Create;
    auto temp = platform::CreateTemporaryBeside(path);
    if (!temp) return SaveFailure::Create;
    auto& [file, tempPath] = temp.value();
    bool written = file.Write(text).ok();
    written = file.Close().ok() && written;
    if (!written) {
        platform::RemoveFile(tempPath);
        return SaveFailure::Write;
    }
    if (!platform::RenameReplacing(tempPath, path)) {
        platform::RemoveFile(tempPath);
        return SaveFailure::Create;
    }
    return std::nullopt;
}

}  // namespace

TLogFilebx::TLogFilebx(Desktop& desktop) : desktop_(desktop) {}

void TLogFilebx::ShowModal() {
    if (visible_) return;
    visible_ = true;
    OnShowChange();
}

void TLogFilebx::Close() {
    if (!visible_) return;
    visible_ = false;
    OnShowChange();
}

void TLogFilebx::BitBtn2Click() {
    FileSuccess.Clear();
    FileOld.Clear();
    FileFailed.Clear();
}

void TLogFilebx::SaveList(const LogList& list, const std::string& proposedName) {
    auto chosen = desktop_.SaveFile(SaveLogDialog(proposedName));
    if (!chosen) return;
    auto failure = WriteReplacing(*chosen, LinesOf(list));
    if (failure == SaveFailure::Create) desktop_.Message("Cannot create file " + *chosen);
    if (failure == SaveFailure::Write) desktop_.Message("Stream write error");
}

}  // namespace twinfold
