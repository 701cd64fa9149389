#pragma once

#include "controls/Signal.h"

#include "qt/ListBoxWidget.h"

#include "listing/TDirectoryListBox.h"

namespace twinfold {
class Desktop;
}

namespace twinfold::qt {

// Draws a directory list: folder glyphs, entries indented by level, the
// selected entry. A click selects, a double click or Enter opens.
class DirectoryListView : public ListBoxWidget {
    Q_OBJECT
public:
    DirectoryListView(TDirectoryListBox& model, Desktop& desktop, QWidget* parent = nullptr);

    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void Redraw() override { Refresh(); }

private:
    void OpenSelected();

    TDirectoryListBox& model_;
    Desktop& desktop_;
    bool refreshing_ = false;
    Connections connections_;
};

}  // namespace twinfold::qt
