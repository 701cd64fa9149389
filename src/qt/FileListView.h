#pragma once

#include "controls/Signal.h"

#include "qt/ListBoxWidget.h"

#include "listing/TFileListBox.h"

namespace twinfold::qt {

// Draws a file list with its glyphs and forwards the person's marking:
// extended selection (shift and control clicks), then the model's click.
class FileListView : public ListBoxWidget {
    Q_OBJECT
public:
    explicit FileListView(TFileListBox& model, QWidget* parent = nullptr);

    // Redraws the entries and their marks from the model.
    void Refresh();
    // Redraws only the marks (after Select All and the like).
    void RefreshSelection();
    // Refresh, put off while the list is disabled (see RequestRedraw).
    void Follow() { RequestRedraw(); }

protected:
    void Redraw() override { Refresh(); }

private:
    void ForwardSelection();
    bool SameEntries() const;

    TFileListBox& model_;
    bool refreshing_ = false;
    Connections connections_;
};

}  // namespace twinfold::qt
