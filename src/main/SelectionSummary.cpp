// The status line's summary of the marked files, and the commands that mark.
#include <cmath>
#include <cstdio>

#include "listing/Paths.h"
#include "main/TMain.h"
#include "sync/FmxUtils.h"

namespace twinfold {
namespace {

// "%.0f" rounds half to even; the summary rounds half away from zero.
std::string SizeText(double total, const char* unit) {
    char text[96];
    std::snprintf(text, sizeof text, "Selected Size: %.0f %s", std::round(total), unit);
    return text;
}

}  // namespace

void TMain::FileListClick() {
    desktop_.SetBusyCursor(true);
    double total = 0;
    const char* unit = "Bytes";
    if (FileList.SelCount() > 0) {
        for (int i = 0; i < FileList.Count(); ++i) {
            if (!FileList.Selected(i)) continue;
            std::int32_t size =
                QueryFileSize(JoinPath(FileList.Directory(), FileList.Items()[i].text));
            // A file that vanished since the list was read counts as nothing.
            if (size > 0) total += size;
        }
        if (total / 1024 >= 1) {
            total /= 1024;
            unit = "KBytes";
        }
    }
    selsize.SetCaption(SizeText(total, unit));
    FileCount.SetCaption("Total Files Selected: " + std::to_string(FileList.SelCount()));
    if (FileList.Count() != FileList.SelCount()) cbSelectAll.SetChecked(false);
    desktop_.SetBusyCursor(false);
}

void TMain::SelectAll() {
    desktop_.SetBusyCursor(true);
    desktop_.ProcessMessages();
    for (int i = 0; i < FileList.Count(); ++i) FileList.SetSelected(i, true);
    desktop_.SetBusyCursor(false);
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
