#pragma once

#include "batch/TBatchDlg.h"

#include <QStyle>
#include "qt/ModelDialog.h"

class QLabel;
class QListWidget;
class QMenuBar;
class QToolButton;

namespace twinfold::qt {

class DirectoryListView;
class FileListView;

// The batch editor on screen: the browsing side on the left, the two arrow
// buttons, the batch list on the right and the dialog's own File menu. It is
// application-modal while the model is shown; the close box and Escape cancel.
class BatchEditorView : public ModelDialog {
    Q_OBJECT

public:
    BatchEditorView(TBatchDlg& model, Desktop& desktop, QWidget* parent = nullptr);

    DirectoryListView* dirList() const { return dirList_; }
    FileListView* fileList() const { return fileList_; }
    QListWidget* batchList() const { return batchList_; }
    QToolButton* removeButton() const { return remove_; }
    QToolButton* addButton() const { return add_; }
    QMenuBar* menuBar() const { return menuBar_; }

protected:
    void Shown() override;

private:
    void BuildMenu();
    QWidget* BuildBrowsingSide(Desktop& desktop);
    QWidget* BuildArrowButtons();
    QWidget* BuildBatchSide();
    QToolButton* AddArrow(const char* name, const char* accessibleName, QStyle::StandardPixmap icon,
                          void (TBatchDlg::*click)());
    void BindSourceLabel(QLabel* label);
    void ShowBatchList();
    void ForwardBatchSelection();

    TBatchDlg& model_;
    QMenuBar* menuBar_ = nullptr;
    DirectoryListView* dirList_ = nullptr;
    FileListView* fileList_ = nullptr;
    QListWidget* batchList_ = nullptr;
    QToolButton* remove_ = nullptr;
    QToolButton* add_ = nullptr;
    // Guards against echoes: drawing the model, forwarding the person's marks.
    bool showingList_ = false;
    bool forwarding_ = false;
    Connections connections_;
};

}  // namespace twinfold::qt
