// The status line's summary of the marked files, and the commands that mark.
#include <cstdint>
#include <string>

#include "desktop/BusyCursor.h"
#include "listing/Paths.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"

namespace twinfold {
namespace {

constexpr std::uint64_t kKByte = 1024;

// The whole size, 64 bits wide: files of 2 GiB and more count in full. A
// file that vanished since the list was read counts as nothing.
std::uint64_t SizeOf(const std::string& path) {
    auto entry = platform::QueryEntry(path);
    return entry ? entry->size : 0;
}

// KBytes from one KByte on, rounded to the nearest whole one, a half up.
std::string SizeText(std::uint64_t total) {
    if (total < kKByte) return "Selected Size: " + std::to_string(total) + " Bytes";
    return "Selected Size: " + std::to_string((total + kKByte / 2) / kKByte) + " KBytes";
}

}  // namespace

void TMain::FileListClick() {
    BusyCursor busy(&desktop_);
    busy.Show();
    std::uint64_t total = 0;
    for (int i = 0; i < FileList.Count(); ++i) {
        if (!FileList.Selected(i)) continue;
        total += SizeOf(JoinPath(FileList.Directory(), FileList.Items()[i].text));
    }
    selsize.SetCaption(SizeText(total));
    FileCount.SetCaption("Total Files Selected: " + std::to_string(FileList.SelCount()));
    if (FileList.Count() != FileList.SelCount()) cbSelectAll.SetChecked(false);
}

void TMain::SelectAll() {
    {
        BusyCursor busy(&desktop_);
        busy.ShowNow();
        for (int i = 0; i < FileList.Count(); ++i) FileList.SetSelected(i, true);
    }
    FileListClick();
}

void TMain::SelectAll1Click() { cbSelectAll.SetChecked(true); }

void TMain::Cancel1Click() {
    for (int i = 0; i < FileList.Count(); ++i) FileList.SetSelected(i, false);
    cbSelectAll.SetChecked(false);
    FileListClick();
}

void TMain::cbSelectAllClick() {
    if (cbSelectAll.Checked()) SelectAll();
}

void TMain::SyncAllClick() { cbSelectAll.SetEnabled(!SyncAll.Checked()); }

}  // namespace twinfold
