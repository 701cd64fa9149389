// The file and directory commands of the main window's menus and panes.
#include <cerrno>

#include "fileops/RemoveFileEntry.h"
#include "fileops/TDelete.h"
#include "listing/Paths.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"

namespace twinfold {
namespace {

void ShowFailure(Desktop& desktop, const Status& status) {
    if (!status) desktop.Failure(status.error().message);
}

// The current entry when it is selected, else the first selected one: with
// several files marked the focus may rest on an unmarked entry.
std::string SelectedFilePath(const TFileListBox& list) {
    std::string current = list.CurrentFilePath();
    if (!current.empty()) return current;
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Selected(i)) return JoinPath(list.Directory(), list.Items()[i].text);
    }
    return {};
}

void DeleteOneFile(Desktop& desktop, const TFileListBox& list) {
    const std::string path = SelectedFilePath(list);
    if (desktop.Confirm("Delete File: " + path + "?")) RemoveFileEntry(path);
}

// The list's directory is always the source pane's, whichever pane was used
// last, so the question names the directory the files go from.
void DeleteSelectedFiles(Desktop& desktop, const TFileListBox& list) {
    const std::string directory = JoinPath(list.Directory(), "");
    if (!desktop.Confirm("Delete Selected Files from " + directory + "?")) return;
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Selected(i)) RemoveFileEntry(JoinPath(list.Directory(), list.Items()[i].text));
    }
}

void MakeDirectoryIn(Desktop& desktop, TDirectoryListBox& pane) {
    auto typed = desktop.Prompt("Create Directory", "Enter New Directory Name:", pane.Directory());
    if (typed) {
        // A bare name is made in the pane's directory, not wherever the
        // process happens to stand.
        const bool relative = !typed->empty() && typed->front() != platform::kSeparator;
        auto made = MakeDirectoryPath(relative ? JoinPath(pane.Directory(), *typed) : *typed);
        // A path that leads nowhere ends the command before the reload.
        if (!made) {
            ShowFailure(desktop, made);
            return;
        }
    }
    ShowFailure(desktop, pane.Reload());
}

void OpenDeleteBox(TDelete& box, const TDirectoryListBox& pane) {
    box.Edit1.SetText(platform::DisplayPath(pane.Directory()));
    box.ShowModal();
}

}  // namespace

void TMain::Delete1Click() {
    if (Running()) return;
    const int selected = FileList.SelCount();
    if (selected == 1) DeleteOneFile(desktop_, FileList);
    if (selected > 1) DeleteSelectedFiles(desktop_, FileList);
    ShowFailure(desktop_, FileList.Reload());
}

void TMain::Rename1Click() {
    if (Running() || FileList.SelCount() == 0) return;
    const std::string oldPath = SelectedFilePath(FileList);
    auto typed = desktop_.Prompt("Rename File", "Enter New File Name:", ExtractFileName(oldPath));
    if (typed) {
        if (Status moved =
                platform::MoveEntry(oldPath, JoinPath(SourceDirListBox.Directory(), *typed));
            !moved) {
            desktop_.Failure("File not renamed!",
                             moved.error().code == EEXIST
                                 ? "Something named " + *typed + " is already there."
                                 : moved.error().message);
        }
    }
    ShowFailure(desktop_, FileList.Reload());
}

void TMain::MakeDirectorySDClick() {
    if (!Running()) MakeDirectoryIn(desktop_, SourceDirListBox);
}

void TMain::MakeDirectoryDDClick() {
    if (!Running()) MakeDirectoryIn(desktop_, DestDirListBox);
}

void TMain::DeleteDirectorySDClick() {
    if (!Running()) OpenDeleteBox(links_->deleteBox, SourceDirListBox);
}

void TMain::DeleteDirectoryDDClick() {
    if (!Running()) OpenDeleteBox(links_->deleteBox, DestDirListBox);
}

}  // namespace twinfold
