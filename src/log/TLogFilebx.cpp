#include "log/TLogFilebx.h"

#include "log/LogListFile.h"

namespace twinfold {
namespace {

FileDialog SaveLogDialog(const std::string& proposedName) {
    FileDialog dialog;
    dialog.title = "Save As";
    dialog.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    dialog.defaultExtension = "txt";
    dialog.fileName = proposedName;
    dialog.confirmOverwrite = true;
    return dialog;
}

}  // namespace

TLogFilebx::TLogFilebx(Desktop& desktop) : desktop_(desktop) {}

void TLogFilebx::BitBtn2Click() {
    FileSuccess.Clear();
    FileOld.Clear();
    FileFailed.Clear();
}

void TLogFilebx::SaveList(const LogList& list, const std::string& proposedName) {
    auto chosen = desktop_.SaveFile(SaveLogDialog(proposedName));
    if (!chosen) return;
    if (Status written = WriteLogList(list, *chosen); !written) {
        desktop_.Failure(written.error().message);
    }
}

}  // namespace twinfold
