#include "fileops/TDelete.h"

#include "desktop/BusyCursor.h"
#include "fileops/DirectoryEraser.h"
#include "listing/Paths.h"
#include "platform/DirectoryHandle.h"
#include "platform/FileSystem.h"
#include "util/GroupedCount.h"

namespace twinfold {
namespace {

constexpr char kSep = platform::kSeparator;

const TFileType kEveryFile{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem,
                           TFileAttr::ftNormal};

const char* const kNeedFullPath = "Please enter the full path of a directory.";
const char* const kNoWildcards = "Wildcards are not allowed in the directory name.";
const char* const kNotRoot = "The root directory cannot be deleted.";

// "/data/old/" and "/data/old" name one directory; only the root keeps its
// separator.
std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == kSep) path.pop_back();
    return path;
}

// Absolute, and every name a real one: "." and ".." would make the text
// differ from the panes' spelling of the same directory.
bool IsFullPath(const std::string& path) {
    if (path.empty() || path.front() != kSep) return false;
    std::size_t start = 1;
    while (start < path.size()) {
        std::size_t end = path.find(kSep, start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        if (name.empty() || name == "." || name == "..") return false;
        start = end + 1;
    }
    return true;
}

// Opens the entry above the current one: the parent directory.
Status OpenParent(TDirectoryListBox& list) {
    list.SetItemIndex(list.CurrentIndex() - 1);
    return list.OpenSelected();
}

// The directory at `path` itself, opened from its parent: a link standing
// at its name now is not followed (the parent may be reached through links,
// as the panes reach it).
Result<platform::DirectoryHandle> OpenDirectoryItself(const std::string& path) {
    auto parent = platform::DirectoryHandle::Open(ExtractFilePath(path));
    if (!parent) return parent;
    return parent.value().OpenChild(ExtractFileName(path));
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return GroupedCount(count) + " " + (count == 1 ? one : many);
}

std::vector<std::string> NamesOf(const TFileListBox& list) {
    std::vector<std::string> names;
    for (const auto& item : list.Items()) names.push_back(item.text);
    return names;
}

}  // namespace

TDelete::TDelete(Desktop& desktop) : desktop_(desktop) {
    DelDirList.SetFileList(&DelFileList);
    // Both lists read again from the directory the dialog is given; that read
    // reports what cannot be entered.
    (void)DelFileList.SetFileType(kEveryFile);
    (void)DelFileList.SetMask("*.*");
}

void TDelete::Link(TDirectoryListBox& sourcePane, TDirectoryListBox& destPane) {
    sourcePane_ = &sourcePane;
    destPane_ = &destPane;
}

void TDelete::BitBtn2Click() {
    const std::string target = platform::DisplayPath(WithoutTrailingSeparators(Edit1.Text()));
    if (auto refusal = RefusalOf(target)) {
        desktop_.Message(*refusal);
    } else {
        BusyCursor busy(&desktop_);
        busy.ShowNow();
        if (!DelSubdir.Checked() || ConfirmTreeDelete(target)) {
            if (auto done = DeleteDirectory(target); !done) desktop_.Failure(done.error().message);
        }
    }
    Close();
}

void TDelete::ShowModal() {
    // A whole tree is never one Enter away: each opening starts unticked.
    DelSubdir.SetChecked(false);
    TForm::ShowModal();
}

// Asks before a tree goes, with what it holds. A directory that cannot be
// counted is not asked about: deleting it reports why.
bool TDelete::ConfirmTreeDelete(const std::string& target) {
    auto parent = platform::DirectoryHandle::Open(ExtractFilePath(target));
    if (!parent) return true;
    DirectoryEraser counter([](const std::string&, const std::string&) {});
    auto tally = counter.Count(parent.value(), ExtractFileName(target), target);
    if (!tally) return true;
    return desktop_.ConfirmDanger("Delete " + Counted(tally.value().files, "file", "files") +
                                  " in " +
                                  Counted(tally.value().directories, "directory", "directories") +
                                  " under " + target + "? This cannot be undone.");
}

std::optional<std::string> TDelete::RefusalOf(const std::string& target) const {
    if (target.empty()) return kNeedFullPath;
    if (target.find_first_of("*?") != std::string::npos) return kNoWildcards;
    if (!IsFullPath(target)) return kNeedFullPath;
    if (target == platform::kRoot) return kNotRoot;
    switch (platform::QueryEntryKind(target)) {
        case platform::EntryKind::File:
        case platform::EntryKind::Other:
            return target + " is not a directory.";
        case platform::EntryKind::Link:
            // Entering it would delete the tree it points to.
            return target + " is a link, not a directory.";
        default:
            // A missing directory is reported when the list fails to enter it.
            return std::nullopt;
    }
}

Status TDelete::DeleteDirectory(const std::string& target) {
    const std::string source = sourcePane_->Directory();
    const std::string dest = destPane_->Directory();
    if (target == platform::DisplayPath(dest)) {
        if (auto moved = OpenParent(*destPane_); !moved) return moved;
    }
    if (target == platform::DisplayPath(source)) {
        if (auto moved = OpenParent(*sourcePane_); !moved) return moved;
    }
    if (auto entered = EnterTarget(target); !entered) return entered;
    Status deleted = DelSubdir.Checked() ? DelTree(DelDirList) : DeleteFilesOnly(source, dest);
    if (!deleted) return deleted;
    // A removed directory disappears from the panes' entries.
    if (auto reloaded = sourcePane_->Reload(); !reloaded) return reloaded;
    return destPane_->Reload();
}

Status TDelete::EnterTarget(const std::string& target) {
    if (auto entered = DelDirList.SetDirectory(target); !entered) return entered;
    // The present directory is not re-read on assignment, yet the lists must
    // show what is there now.
    if (auto read = DelDirList.Reload(); !read) return read;
    if (auto read = DelFileList.Reload(); !read) return read;
    // A path through links may still lead to the root.
    if (DelDirList.Directory() == platform::kRoot) return Error{kNotRoot, 0};
    return Ok();
}

Status TDelete::DeleteFilesOnly(const std::string& source, const std::string& dest) {
    if (auto deleted = DeleteFiles(DelFileList); !deleted) return deleted;
    // A pane moved out above goes back; the other is not re-entered.
    if (auto back = sourcePane_->SetDirectory(source); !back) return back;
    return destPane_->SetDirectory(dest);
}

Status TDelete::DelTree(TDirectoryListBox& list) {
    const std::string target = list.EntryPath(list.ItemIndex());
    auto parent = platform::DirectoryHandle::Open(ExtractFilePath(target));
    if (!parent) return Error{"Cannot delete " + target + ": " + parent.error().message, 0};
    // The list leaves the directory before it goes, as the panes do.
    if (list.Directory() == target) {
        if (auto opened = OpenParent(list); !opened) return opened;
    }
    DirectoryEraser eraser([this](const std::string& path, const std::string& reason) {
        desktop_.Information("Problem removing directory: " + platform::DisplayPath(path), reason);
    });
    return eraser.RemoveTree(parent.value(), ExtractFileName(target), target);
}

Status TDelete::DeleteFiles(TFileListBox& list) {
    auto directory = OpenDirectoryItself(list.Directory());
    if (!directory) {
        return Error{
            "Cannot delete the files of " + list.Directory() + ": " + directory.error().message, 0};
    }
    DirectoryEraser::RemoveFiles(directory.value(), NamesOf(list));
    return Ok();
}

}  // namespace twinfold
