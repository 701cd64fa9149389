#pragma once

#include "controls/Signal.h"

#include <QMainWindow>

#include "main/Windows.h"
#include "qt/GrowthLayout.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace twinfold::qt {

class AboutBoxView;
class BatchEditorView;
class DirectoryListView;
class HelpWindow;
class OptionsView;
class SecretBoxView;
class FileListView;
class LogFileView;
class SyncBoxView;

// The two-pane main window. It draws the main window's model and turns
// clicks, keys and menu choices into calls of its commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Windows& windows, Desktop& desktop, QWidget* parent = nullptr);

    // Geometry of the original layout, grown uniformly when the font needs
    // more room than it was drawn for.
    double Scale() const { return scale_; }

    DirectoryListView* sourcePane() const { return sourcePane_; }
    DirectoryListView* destPane() const { return destPane_; }
    FileListView* fileList() const { return fileList_; }
    QPushButton* syncButton() const { return syncButton_; }
    QPushButton* exitButton() const { return exitButton_; }
    QCheckBox* selectAllBox() const { return selectAllBox_; }
    QCheckBox* syncAllBox() const { return syncAllBox_; }
    QComboBox* fileTypeBox() const { return fileTypeBox_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QLabel* countLabel() const { return countLabel_; }
    SyncBoxView* syncBoxView() const { return syncBoxView_; }
    LogFileView* logFileView() const { return logFileView_; }
    class PreviewView* previewView() const {
        return previewView_;
    }
    AboutBoxView* aboutBoxView() const { return aboutBoxView_; }
    SecretBoxView* secretBoxView() const { return secretBoxView_; }
    HelpWindow* helpWindow() const { return helpWindow_; }
    OptionsView* optionsView() const { return optionsView_; }
    BatchEditorView* batchEditorView() const { return batchEditorView_; }
    QMenu* fileListMenu() const { return fileListMenu_; }
    QMenu* sourceDirMenu() const { return sourceDirMenu_; }
    QMenu* destDirMenu() const { return destDirMenu_; }
    QAction* action(const QString& text) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Tells the model the size the window now has.
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls(QWidget* client);
    void SetTabOrder(const QList<QWidget*>& order);
    void BuildStatusLine(QWidget* client);
    void BuildMenus();
    void BuildContextMenus();
    void BindModels();
    void SetRunning(bool running);
    QRect At(int left, int top, int width, int height) const;
    // Puts `control` at `at` in the window's least size; it follows the
    // window's growth as `follow` says.
    void Put(QWidget* control, const QRect& at, Follow follow);
    QLabel* AddLabel(QWidget* client, const QString& text, Follow follow, int left, int top,
                     int width = 180);
    void FitPathLabels();
    QAction* AddAction(QMenu* menu, const QString& text, void (TMain::*command)(),
                       const QKeySequence& shortcut = {});

    Windows& windows_;
    TMain& main_;
    Desktop& desktop_;
    double scale_ = 1.0;
    GrowthLayout* growth_ = nullptr;

    DirectoryListView* sourcePane_ = nullptr;
    DirectoryListView* destPane_ = nullptr;
    FileListView* fileList_ = nullptr;
    QLabel* sourceLabel_ = nullptr;
    QLabel* destLabel_ = nullptr;
    QComboBox* fileTypeBox_ = nullptr;
    QPushButton* syncButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QCheckBox* selectAllBox_ = nullptr;
    QCheckBox* syncAllBox_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    SyncBoxView* syncBoxView_ = nullptr;
    LogFileView* logFileView_ = nullptr;
    class PreviewView* previewView_ = nullptr;
    AboutBoxView* aboutBoxView_ = nullptr;
    SecretBoxView* secretBoxView_ = nullptr;
    HelpWindow* helpWindow_ = nullptr;
    OptionsView* optionsView_ = nullptr;
    BatchEditorView* batchEditorView_ = nullptr;
    QMenu* fileListMenu_ = nullptr;
    QMenu* sourceDirMenu_ = nullptr;
    QMenu* destDirMenu_ = nullptr;
    Connections connections_;
};

}  // namespace twinfold::qt
