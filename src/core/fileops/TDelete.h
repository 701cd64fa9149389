#pragma once

#include <optional>
#include <string>

#include "controls/Signal.h"
#include "controls/TCheckBox.h"
#include "controls/TEdit.h"
#include "controls/TForm.h"
#include "desktop/Desktop.h"
#include "listing/TDirectoryListBox.h"
#include "listing/TFileListBox.h"
#include "platform/Result.h"

namespace twinfold {

// The delete-directory dialog: deletes the files of the directory in its
// field or, with DelSubdir checked, the directory with its whole tree. It
// deletes what its two hidden lists would show (read-only files, hidden
// subdirectories and links to directories stay, and so does every directory
// above them), through directory handles, so nothing outside the directory
// is touched whatever changes under it.
// Created once; the check box starts cleared at every opening, and a tree
// is deleted only after the person confirms it with its counts.
class TDelete : public TForm {
public:
    explicit TDelete(Desktop& desktop);
    TDelete(const TDelete&) = delete;
    TDelete& operator=(const TDelete&) = delete;

    // The main window's panes, moved out of a directory before it goes.
    void Link(TDirectoryListBox& sourcePane, TDirectoryListBox& destPane);

    TEdit Edit1;
    TCheckBox DelSubdir;
    // Hidden; DelFileList follows DelDirList and lists every file, hidden,
    // system and read-only ones included.
    TDirectoryListBox DelDirList;
    TFileListBox DelFileList;

    // Opens with the check box cleared.
    void ShowModal() override;

    // OK: deletes what the field and the check box ask for, reports what
    // stood in the way, and closes the dialog whatever the outcome. A field
    // that is empty, relative, holds a wildcard, names the root or anything
    // but a directory deletes nothing and says why.
    void BitBtn2Click();
    // Cancel: closes without doing anything.
    void BitBtn1Click() { Close(); }

    // Deletes the directory selected in `list` with everything below it,
    // depth first, and leaves `list` in its parent. A directory that cannot
    // be removed is reported ("Problem removing directory: ", then why) and
    // the walk goes on; one that is no directory any more ends it.
    Status DelTree(TDirectoryListBox& list);
    // Deletes every file `list` shows, last to first; failures are skipped.
    // Fails when the list's directory is no longer one.
    Status DeleteFiles(TFileListBox& list);

private:
    Status DeleteDirectory(const std::string& target);
    std::optional<std::string> RefusalOf(const std::string& target) const;
    bool ConfirmTreeDelete(const std::string& target);
    Status EnterTarget(const std::string& target);
    Status DeleteFilesOnly(const std::string& source, const std::string& dest);

    Desktop& desktop_;
    TDirectoryListBox* sourcePane_ = nullptr;
    TDirectoryListBox* destPane_ = nullptr;
};

}  // namespace twinfold
