#pragma once

#include <QListWidget>

namespace twinfold::qt {

// A list box that shows where the keyboard is and offers its context menu
// without a mouse. While it has the focus it draws a dotted frame around its
// current entry (around the first entry when there is none, around the whole
// list when it is empty). Shift+F10 and the Menu key ask for the context menu
// at the current entry, as a right click there would.
class ListBoxWidget : public QListWidget {
    Q_OBJECT
public:
    explicit ListBoxWidget(QWidget* parent = nullptr);

    // Where the focus frame is drawn, in the viewport's coordinates.
    QRect FocusFrame() const;

protected:
    // Asks for Redraw: at once while the list is enabled; while it is
    // disabled (its window during a run, when the model changes for every
    // directory), at most ten times a second however often it is asked, and
    // at once when it is enabled again.
    void RequestRedraw();
    // Draws the whole list from its model.
    virtual void Redraw() {}
    void changeEvent(QEvent* event) override;

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QListWidgetItem* FocusItem() const;
    void RedrawPending();

    bool redrawPending_ = false;
    void RequestContextMenu();
};

// Shows `menu` for a context menu request of `list` (a right click, or the
// keys above); the request's position is in the viewport's coordinates.
void AttachContextMenu(QListWidget* list, class QMenu* menu);

}  // namespace twinfold::qt
