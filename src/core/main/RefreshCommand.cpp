// F5: the panes read again what has changed on disk since they were shown.
#include <algorithm>
#include <string>
#include <vector>

#include "main/TMain.h"

namespace twinfold {
namespace {

std::vector<std::string> MarkedNames(const TFileListBox& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Selected(i)) names.push_back(list.Items()[static_cast<std::size_t>(i)].text);
    }
    return names;
}

void Mark(TFileListBox& list, const std::vector<std::string>& names) {
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& text = list.Items()[static_cast<std::size_t>(i)].text;
        if (std::find(names.begin(), names.end(), text) != names.end()) list.SetSelected(i, true);
    }
}

}  // namespace

void TMain::RefreshClick() {
    if (Running()) return;
    const bool allMarked = cbSelectAll.Checked();
    const std::vector<std::string> marked = MarkedNames(FileList);
    // The source pane's own re-read leaves its file list as it is.
    for (Status read : {SourceDirListBox.Reload(), DestDirListBox.Reload(), FileList.Reload()}) {
        if (!read) desktop_.Failure(read.error().message);
    }
    if (allMarked) {
        cbSelectAll.SetChecked(true);
    } else {
        Mark(FileList, marked);
    }
    FileListClick();
}

}  // namespace twinfold
