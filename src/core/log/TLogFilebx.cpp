#include "log/TLogFilebx.h"

#include "log/LogListFile.h"

namespace twinfold {

TLogFilebx::TLogFilebx(Desktop& desktop) : desktop_(desktop) {}

void TLogFilebx::BitBtn2Click() {
    FileSuccess.Clear();
    FileOld.Clear();
    FileFailed.Clear();
}

void TLogFilebx::SaveList(const LogList& list, const std::string& proposedName) {
    auto chosen = desktop_.SaveFile(LogSaveDialog(proposedName, saveDirectory));
    if (!chosen) return;
    saveDirectory = FolderOf(*chosen);
    if (Status written = WriteLogList(list, *chosen); !written) {
        desktop_.Failure(written.error().message);
    }
}

}  // namespace twinfold
