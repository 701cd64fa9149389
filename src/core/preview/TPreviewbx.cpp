#include "preview/TPreviewbx.h"

#include "log/LogListFile.h"

namespace twinfold {

TPreviewbx::TPreviewbx(Desktop& desktop) : desktop_(desktop) {}

void TPreviewbx::Clear() {
    lines_.Clear();
    counts_ = {};
    OnChange();
}

void TPreviewbx::Add(const sync::PreviewLine& line) {
    lines_.Add(line.Text());
    counts_.Add(line);
    OnChange();
}

void TPreviewbx::SaveClick() {
    auto chosen = desktop_.SaveFile(LogSaveDialog(kFileName, saveDirectory));
    if (!chosen) return;
    saveDirectory = FolderOf(*chosen);
    if (Status written = WriteLogList(lines_, *chosen); !written) {
        desktop_.Failure(written.error().message);
    }
}

}  // namespace twinfold
