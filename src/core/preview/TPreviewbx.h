#pragma once

#include "controls/Signal.h"
#include "controls/TForm.h"
#include "desktop/Desktop.h"
#include "log/LogList.h"
#include "sync/Preview.h"

namespace twinfold {

// The preview dialog: what a Sync would do, one line per file, with the
// counts, and a Save button. Nothing in it changes any file but the one it
// is saved to.
class TPreviewbx : public TForm {
public:
    static constexpr const char* kFileName = "TFPreview.txt";

    explicit TPreviewbx(Desktop& desktop);

    // Starts a new preview.
    void Clear();
    void Add(const sync::PreviewLine& line);

    const LogList& Lines() const { return lines_; }
    const sync::PreviewCounts& Counts() const { return counts_; }

    // "Save": asks for a file and writes the lines into it, each followed by
    // "\r\n", as the run log is saved.
    void SaveClick();
    // Where Save As starts: the settings folder, then the folder last saved in.
    std::string saveDirectory;
    // "Close".
    void CloseClick() { Close(); }

    // After every change of the lines (the counts follow them).
    Signal<> OnChange;

private:
    Desktop& desktop_;
    LogList lines_;
    sync::PreviewCounts counts_;
};

}  // namespace twinfold
