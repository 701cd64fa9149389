#include "qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <utility>

#include "qt/AboutBoxView.h"
#include "qt/BatchEditorView.h"
#include "qt/Bind.h"
#include "qt/DeleteView.h"
#include "qt/DirectoryListView.h"
#include "qt/DriveComboView.h"
#include "qt/FileListView.h"
#include "qt/GrowthLayout.h"
#include "qt/HelpWindow.h"
#include "qt/ListBoxWidget.h"
#include "qt/LogFileView.h"
#include "qt/OptionsView.h"
#include "qt/Placement.h"
#include "qt/PreviewView.h"
#include "qt/ProgramIcon.h"
#include "qt/SecretBoxView.h"
#include "qt/Strings.h"
#include "qt/SyncBoxView.h"
#include "qt/TextWidth.h"

namespace twinfold::qt {
namespace {

constexpr int kClientWidth = 566;
constexpr int kClientHeight = 326;
// The line height of the font the layout was drawn for.
constexpr double kDesignLineHeight = 13.0;
const char* const kPaneHint = "Right Click for Options";

// The extra width goes to the three lists, half of it to the file list,
// whose names are cut first; the lists take all extra height, and what
// stands below them moves down with the window's bottom edge.
constexpr double kSourceShare = 0.25;
constexpr double kFilesShare = 0.5;
constexpr double kDestMove = kSourceShare + kFilesShare;
constexpr double kDestShare = 1 - kDestMove;
constexpr Follow kSourceTop{0, kSourceShare, 0, 0};
constexpr Follow kSourceList{0, kSourceShare, 0, 1};
constexpr Follow kSourceBelow{0, kSourceShare, 1, 0};
constexpr Follow kFilesTop{kSourceShare, kFilesShare, 0, 0};
constexpr Follow kFilesList{kSourceShare, kFilesShare, 0, 1};
// The Sync and Exit buttons stay centred under the file list.
constexpr Follow kFilesBelow{kSourceShare + kFilesShare / 2, 0, 1, 0};
constexpr Follow kDestTop{kDestMove, kDestShare, 0, 0};
constexpr Follow kDestList{kDestMove, kDestShare, 0, 1};
constexpr Follow kDestBelow{kDestMove, kDestShare, 1, 0};
constexpr Follow kStatusLeft{0, 0, 1, 0};
constexpr Follow kStatusWide{0, 1, 1, 0};

}  // namespace

MainWindow::MainWindow(Windows& windows, Desktop& desktop, QWidget* parent)
    : QMainWindow(parent), windows_(windows), main_(windows.main), desktop_(desktop) {
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    scale_ = std::max(1.0, QFontMetrics(bold).height() / kDesignLineHeight);

    auto* client = new QWidget(this);
    growth_ = new GrowthLayout(client, At(0, 0, kClientWidth, kClientHeight).size());
    growth_->onPlaced = [this] { FitPathLabels(); };
    setCentralWidget(client);
    BuildControls(client);
    BuildStatusLine(client);
    BuildMenus();
    BuildContextMenus();
    BindModels();
    syncBoxView_ = new SyncBoxView(windows_.syncBox, this);
    logFileView_ = new LogFileView(windows_.logFile, this);
    previewView_ = new PreviewView(windows_.preview, this);
    aboutBoxView_ = new AboutBoxView(windows_.about, this);
    secretBoxView_ = new SecretBoxView(windows_.special, aboutBoxView_);
    helpWindow_ = new HelpWindow(this);
    optionsView_ = new OptionsView(windows_.options, this);
    connections_ += main_.OnClose.Connect([this] { close(); });
    setWindowIcon(ProgramIcon());
    batchEditorView_ = new BatchEditorView(windows_.batchEditor, desktop_, this);
    new DeleteView(windows_.deleteBox, this);
    // The size the window was left at, never below its least size.
    layout()->activate();
    resize(main_.windowWidth, main_.windowHeight);
    PlaceOnShow(this, Placement::CentreOnScreen);
    sourcePane_->setFocus();
}

QRect MainWindow::At(int left, int top, int width, int height) const {
    auto s = [this](int v) { return static_cast<int>(v * scale_ + 0.5); };
    return {s(left), s(top), s(width), s(height)};
}

void MainWindow::Put(QWidget* control, const QRect& at, Follow follow) {
    control->setGeometry(at);
    growth_->Add(control, follow);
}

QLabel* MainWindow::AddLabel(QWidget* client, const QString& text, Follow follow, int left, int top,
                             int width) {
    auto* label = new QLabel(text, client);
    Put(label, At(left, top, width, 16), follow);
    return label;
}

// Every control has its own Alt letter, through its label where it has one;
// none is taken by the menu bar (F, E, B, L, O, H).
void MainWindow::BuildControls(QWidget* client) {
    sourceLabel_ = AddLabel(client, {}, kSourceTop, 10, 30, 195);
    sourcePane_ = new DirectoryListView(main_.SourceDirListBox, desktop_, client);
    sourcePane_->setObjectName("SourceDirListBox");
    Put(sourcePane_, At(10, 50, 195, 132), kSourceList);
    AddLabel(client, "Source &Directory:", kSourceTop, 10, 10)->setBuddy(sourcePane_);
    fileList_ = new FileListView(main_.FileList, client);
    fileList_->setObjectName("FileList");
    Put(fileList_, At(216, 50, 133, 132), kFilesList);
    AddLabel(client, "F&iles:", kFilesTop, 216, 10, 133)->setBuddy(fileList_);
    destLabel_ = AddLabel(client, {}, kDestTop, 360, 30, 195);
    destPane_ = new DirectoryListView(main_.DestDirListBox, desktop_, client);
    destPane_->setObjectName("DestDirListBox");
    Put(destPane_, At(360, 50, 195, 132), kDestList);
    AddLabel(client, "Destination Di&rectory:", kDestTop, 360, 10)->setBuddy(destPane_);
    for (QWidget* pane : {static_cast<QWidget*>(sourcePane_), static_cast<QWidget*>(fileList_),
                          static_cast<QWidget*>(destPane_)}) {
        pane->setToolTip(kPaneHint);
    }

    fileTypeBox_ = new QComboBox(client);
    fileTypeBox_->setObjectName("EditFilter");
    Put(fileTypeBox_, At(10, 225, 197, 21), kSourceBelow);
    AddLabel(client, "List Files of &Type:", kSourceBelow, 10, 205)->setBuddy(fileTypeBox_);
    auto* sourceDrives = new DriveComboView(main_.DriveComboBox1, desktop_, client);
    sourceDrives->setObjectName("DriveComboBox1");
    Put(sourceDrives, At(10, 271, 197, 21), kSourceBelow);
    AddLabel(client, "Source Dri&ves:", kSourceBelow, 10, 255)->setBuddy(sourceDrives);
    auto* destDrives = new DriveComboView(main_.DriveComboBox2, desktop_, client);
    destDrives->setObjectName("DriveComboBox2");
    Put(destDrives, At(360, 225, 197, 21), kDestBelow);
    AddLabel(client, "Desti&nation Drives:", kDestBelow, 360, 205)->setBuddy(destDrives);

    syncButton_ = new QPushButton("&Sync", client);
    syncButton_->setObjectName("SyncBtn");
    Put(syncButton_, At(238, 215, 89, 33), kFilesBelow);
    exitButton_ = new QPushButton("E&xit", client);
    exitButton_->setObjectName("ExitBtn");
    Put(exitButton_, At(238, 265, 89, 33), kFilesBelow);
    selectAllBox_ = new QCheckBox("Select &All files", client);
    selectAllBox_->setObjectName("cbSelectAll");
    Put(selectAllBox_, At(360, 264, 150, 17), kDestBelow);
    syncAllBox_ = new QCheckBox("Sync All S&ubdirectories", client);
    syncAllBox_->setObjectName("SyncAll");
    Put(syncAllBox_, At(360, 281, 190, 17), kDestBelow);
    connect(syncButton_, &QPushButton::clicked, this, [this] { main_.SyncBtnClick(); });
    connect(exitButton_, &QPushButton::clicked, this, [this] { main_.Exit1Click(); });
    SetTabOrder({sourcePane_, fileList_, destPane_, fileTypeBox_, syncButton_, destDrives,
                 sourceDrives, exitButton_, selectAllBox_, syncAllBox_});
}

// Tab goes through the window as one reads it: left to right, row by row.
void MainWindow::SetTabOrder(const QList<QWidget*>& order) {
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::BuildStatusLine(QWidget* client) {
    auto* line = new QFrame(client);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Put(line, At(0, 299, kClientWidth, 2), kStatusWide);
    auto* sizeFrame = new QFrame(client);
    sizeFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Put(sizeFrame, At(1, 304, 195, 20), kStatusLeft);
    auto* countFrame = new QFrame(client);
    countFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Put(countFrame, At(197, 304, 367, 20), kStatusWide);
    sizeLabel_ = AddLabel(client, {}, kStatusLeft, 4, 306, 190);
    countLabel_ = AddLabel(client, {}, kStatusWide, 204, 306, 355);
}

QAction* MainWindow::AddAction(QMenu* menu, const QString& text, void (TMain::*command)(),
                               const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (command != nullptr) {
        connect(action, &QAction::triggered, this, [this, command] { (main_.*command)(); });
    }
    return action;
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    AddAction(file, "Load Settings...", &TMain::LoadSettingsClick);
    AddAction(file, "Save Default Settings", &TMain::SaveDefaultSettings1Click);
    AddAction(file, "Save Settings As...", &TMain::SaveSettingsAs1Click);
    QAction* saveOnExit = AddAction(file, "Save Settings on Exit", &TMain::SaveSettingsonExitClick);
    saveOnExit->setCheckable(true);
    // The check mark is the model's; a click only asks the model to toggle it.
    auto showCheck = [saveOnExit, this] {
        saveOnExit->setChecked(main_.SaveSettingsonExit.Checked());
    };
    showCheck();
    connections_ += main_.SaveSettingsonExit.OnClick.Connect(showCheck);
    connect(saveOnExit, &QAction::triggered, this, showCheck);
    file->addSeparator();
    AddAction(file, "&Sync", &TMain::SyncBtnClick, QKeySequence("Ctrl+S"));
    AddAction(file, "&Preview Sync", &TMain::PreviewSync1Click);
    file->addSeparator();
    AddAction(file, "E&xit", &TMain::Exit1Click)
        ->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Ctrl+Q")});

    QMenu* edit = menuBar()->addMenu("&Edit");
    AddAction(edit, "&Delete", &TMain::Delete1Click, QKeySequence(Qt::Key_Delete));
    AddAction(edit, "&Rename", &TMain::Rename1Click);
    AddAction(edit, "Select &All", &TMain::SelectAll1Click, QKeySequence("Ctrl+A"));

    QMenu* batch = menuBar()->addMenu("&Batch");
    AddAction(batch, "Batch File &Editor...", &TMain::BatchFileEditor1Click);
    AddAction(batch, "&Run Batch File...", &TMain::RunBatchFile1Click);

    QAction* log = menuBar()->addAction("&Log...");
    connect(log, &QAction::triggered, this, [this] { main_.LogFile1Click(); });
    QAction* options = menuBar()->addAction("&Options...");
    connect(options, &QAction::triggered, this, [this] { main_.Options1Click(); });

    QMenu* help = menuBar()->addMenu("&Help");
    AddAction(help, "&Contents", &TMain::Contents1Click);
    AddAction(help, "&About", &TMain::About1Click);
    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(f1);
    connect(f1, &QAction::triggered, this, [this] { desktop_.ShowHelp(1); });
    auto* f5 = new QAction(this);
    f5->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(f5);
    connect(f5, &QAction::triggered, this, [this] { main_.RefreshClick(); });
}

void MainWindow::BuildContextMenus() {
    fileListMenu_ = new QMenu(this);
    AddAction(fileListMenu_, "Select All", &TMain::SelectAll1Click);
    AddAction(fileListMenu_, "UnSelect All", &TMain::Cancel1Click);
    AddAction(fileListMenu_, "Delete", &TMain::Delete1Click);
    AddAction(fileListMenu_, "Rename", &TMain::Rename1Click);
    AddAction(fileListMenu_, "Sync", &TMain::SyncBtnClick);
    sourceDirMenu_ = new QMenu(this);
    // The two panes' entries share their texts; names tell them apart.
    AddAction(sourceDirMenu_, "Make Directory", &TMain::MakeDirectorySDClick)
        ->setObjectName("MakeDirectorySD");
    AddAction(sourceDirMenu_, "Delete Directory", &TMain::DeleteDirectorySDClick)
        ->setObjectName("DeleteDirectorySD");
    destDirMenu_ = new QMenu(this);
    AddAction(destDirMenu_, "Make Directory", &TMain::MakeDirectoryDDClick)
        ->setObjectName("MakeDirectoryDD");
    AddAction(destDirMenu_, "Delete Directory", &TMain::DeleteDirectoryDDClick)
        ->setObjectName("DeleteDirectoryDD");
    AttachContextMenu(fileList_, fileListMenu_);
    AttachContextMenu(sourcePane_, sourceDirMenu_);
    AttachContextMenu(destPane_, destDirMenu_);
}

void MainWindow::BindModels() {
    auto showCaption = [this] { setWindowTitle(ToQString(main_.Caption.Caption())); };
    showCaption();
    connections_ += main_.Caption.OnChange.Connect(showCaption);
    Bind(sourceLabel_, main_.SourceLabel, connections_);
    Bind(destLabel_, main_.DestLabel, connections_);
    Bind(sizeLabel_, main_.selsize, connections_);
    Bind(countLabel_, main_.FileCount, connections_);
    Bind(selectAllBox_, main_.cbSelectAll, connections_);
    Bind(syncAllBox_, main_.SyncAll, connections_);
    Bind(fileTypeBox_, main_.EditFilter, connections_);
    // The path labels shorten their text to the room they have.
    for (TLabel* label : {&main_.SourceLabel, &main_.DestLabel}) {
        MeasureInFont(*label, font(), At(0, 0, 195, 0).width());
    }
    // Re-read for the labels' new width; the start-up read reported failures.
    (void)main_.SourceDirListBox.Reload();
    (void)main_.DestDirListBox.Reload();
    // Marks set by the program (Select All and the like) are drawn at once.
    connections_ += main_.FileList.OnClick.Connect([this] { fileList_->Follow(); });
    connections_ += main_.selsize.OnChange.Connect([this] { fileList_->Follow(); });
    connections_ += main_.OnRunningChange.Connect([this] { SetRunning(main_.Running()); });
}

// While a run goes on only the progress dialog takes input.
void MainWindow::SetRunning(bool running) {
    menuBar()->setEnabled(!running);
    centralWidget()->setEnabled(!running);
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) action->setEnabled(!running);
    }
}

// The path labels shorten their text to the room they have now.
void MainWindow::FitPathLabels() {
    for (auto [label, pane] : {std::pair{sourceLabel_, &main_.SourceDirListBox},
                               std::pair{destLabel_, &main_.DestDirListBox}}) {
        TLabel* model = pane->DirLabel();
        if (model == nullptr || model->width == label->width()) continue;
        MeasureInFont(*model, font(), label->width());
        pane->SetDirLabel(model);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // A maximised window comes back at the size it had before.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    main_.windowWidth = width();
    main_.windowHeight = height();
}

QAction* MainWindow::action(const QString& text) const {
    for (QAction* candidate : findChildren<QAction*>()) {
        if (candidate->text() == text) return candidate;
    }
    return nullptr;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A close during a run would pull the panes away from the walk.
    if (main_.Running()) {
        event->ignore();
        return;
    }
    // The close box and Alt+F4 (the window system's close) do what Exit
    // does. A close the program asks for itself (Exit has done it already,
    // a signal stops the program) saves nothing.
    if (event->spontaneous() && !main_.FormCloseQuery()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace twinfold::qt
