// The file-type box: four fixed masks and the custom include/exclude mode.
#include "listing/MaskFilter.h"
#include "main/TMain.h"

namespace twinfold {
namespace {

const char* const kAllFiles = "All files (*.*)";
const char* const kCustom = "Custom - Use Include/Exclude lists";

struct FixedFilter {
    const char* text;
    const char* mask;
};
const FixedFilter kFixedFilters[] = {
    {"Excel Files (*.xls)", "*.xls"},
    {"Lotus Files (*.wk*)", "*.wk*"},
    {"Documents (*.doc)", "*.doc"},
};

}  // namespace

std::vector<std::string> FileTypeEntries() {
    return {kAllFiles, kCustom, kFixedFilters[0].text, kFixedFilters[1].text,
            kFixedFilters[2].text};
}

void TMain::EditFilterChange() {
    const std::string chosen = EditFilter.Text();
    Status status = Ok();
    if (chosen == kAllFiles) {
        status = FileList.SetMask("*.*");
        // Brings back what an earlier exclusion pass removed under "*.*".
        if (status.ok()) status = FileList.Reload();
    } else if (chosen == kCustom) {
        const std::string& include = Options().includeFilters();
        status = FileList.SetMask(include.empty() ? "*.*" : include);
        if (status.ok()) FilterFileList();
    } else {
        for (const auto& filter : kFixedFilters) {
            if (chosen == filter.text) status = FileList.SetMask(filter.mask);
        }
    }
    if (!status.ok()) desktop_.Failure(status.error().message);
}

void TMain::FilterFileList() {
    if (RemoveExcludedFiles()) FileListClick();
}

// Every entry whose name the exclude patterns list goes, each occurrence of
// it (two include patterns may list a name twice), in one step.
bool TMain::RemoveExcludedFiles() {
    if (!ExcludeDirListBox.SetDirectory(SourceDirListBox.Directory()).ok()) return false;
    if (!ExcludeFiles.SetMask(Options().excludeFilters()).ok()) return false;
    if (!ExcludeFiles.Reload().ok()) return false;
    std::vector<std::string> listed;
    std::vector<std::string> excluded;
    for (const auto& item : FileList.Items()) listed.push_back(item.text);
    for (const auto& item : ExcludeFiles.Items()) excluded.push_back(item.text);
    std::vector<int> removed;
    for (std::size_t at : ExcludedPositions(listed, excluded))
        removed.push_back(static_cast<int>(at));
    FileList.Delete(removed);
    return !removed.empty();
}

bool TMain::CustomFilterChosen() const { return EditFilter.Text() == kCustom; }

void TMain::FileListChange() {
    if (CustomFilterChosen() && !showingWalk_) RemoveExcludedFiles();
    FileListClick();
}

}  // namespace twinfold
