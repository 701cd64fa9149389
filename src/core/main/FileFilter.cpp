// The file-type box: four fixed masks and the custom include/exclude mode.
#include "main/TMain.h"
#include "util/Ascii.h"

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

// Each excluded name, from the last to the first, takes away the last entry
// of that name not yet taken; the removals then happen in one step.
bool TMain::RemoveExcludedFiles() {
    if (!ExcludeDirListBox.SetDirectory(SourceDirListBox.Directory()).ok()) return false;
    if (!ExcludeFiles.SetMask(Options().excludeFilters()).ok()) return false;
    if (!ExcludeFiles.Reload().ok()) return false;
    std::vector<bool> taken(static_cast<std::size_t>(FileList.Count()), false);
    std::vector<int> removed;
    for (int e = ExcludeFiles.Count() - 1; e >= 0; --e) {
        const std::string excluded = UpperAscii(ExcludeFiles.Items()[e].text);
        for (int f = FileList.Count() - 1; f >= 0; --f) {
            auto slot = taken.begin() + f;
            if (!*slot && UpperAscii(FileList.Items()[f].text) == excluded) {
                *slot = true;
                removed.push_back(f);
                break;
            }
        }
    }
    FileList.Delete(removed);
    return !removed.empty();
}

bool TMain::CustomFilterChosen() const { return EditFilter.Text() == kCustom; }

void TMain::FileListChange() {
    if (CustomFilterChosen() && !showingWalk_) RemoveExcludedFiles();
    FileListClick();
}

}  // namespace twinfold
