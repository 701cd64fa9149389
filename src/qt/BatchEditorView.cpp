#include "qt/BatchEditorView.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/Bind.h"
#include "qt/DialogFlags.h"
#include "qt/DirectoryListView.h"
#include "qt/DriveComboView.h"
#include "qt/FileListView.h"
#include "qt/FilterComboView.h"
#include "qt/ListBoxWidget.h"
#include "qt/Placement.h"
#include "qt/Strings.h"
#include "qt/TextWidth.h"

namespace twinfold::qt {
namespace {

constexpr int kBrowsingWidth = 200;
constexpr int kBatchListWidth = 250;
constexpr int kListHeight = 130;
constexpr int kArrowIconSize = 24;

QLabel* AddLabel(QVBoxLayout* column, const char* text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    column->addWidget(label);
    column->addWidget(buddy);
    return label;
}

QStringList TextsOf(const QListWidget& widget) {
    QStringList texts;
    for (int i = 0; i < widget.count(); ++i) texts << widget.item(i)->text();
    return texts;
}

}  // namespace

BatchEditorView::BatchEditorView(TBatchDlg& model, Desktop& desktop, QWidget* parent)
    : ModelDialog(model, Modality::Window, parent, kDialogFlags | Qt::WindowMinimizeButtonHint),
      model_(model) {
    setModal(true);
    PlaceOnShow(this, Placement::CentreOnScreen);
    setWindowTitle(ToQString(model_.Caption()));
    auto* layout = new QHBoxLayout(this);
    BuildMenu();
    layout->setMenuBar(menuBar_);
    layout->addWidget(BuildBrowsingSide(desktop));
    layout->addWidget(BuildArrowButtons());
    layout->addWidget(BuildBatchSide());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* help = new QAction(this);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(help);
    connect(help, &QAction::triggered, this, [this] { model_.F1KeyDown(); });

    connections_ +=
        model_.OnCaptionChange.Connect([this] { setWindowTitle(ToQString(model_.Caption())); });
    connections_ += model_.BatchList.OnChange.Connect([this] { ShowBatchList(); });
    ShowBatchList();
}

void BatchEditorView::BuildMenu() {
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu("&File");
    auto add = [this, file](const char* text, void (TBatchDlg::*command)()) {
        connect(file->addAction(text), &QAction::triggered, this,
                [this, command] { (model_.*command)(); });
    };
    add("&New", &TBatchDlg::New1Click);
    add("&Open...", &TBatchDlg::Open1Click);
    add("&Save", &TBatchDlg::Save1Click);
    add("Save &As...", &TBatchDlg::SaveAsMenuClick);
    file->addSeparator();
    add("E&xit", &TBatchDlg::ExitClick);
}

QWidget* BatchEditorView::BuildBrowsingSide(Desktop& desktop) {
    auto* side = new QWidget(this);
    side->setFixedWidth(kBrowsingWidth);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    auto* sourceLabel = new QLabel(side);
    sourceLabel->setObjectName("SourceLabel");
    BindSourceLabel(sourceLabel);
    column->addWidget(sourceLabel);
    dirList_ = new DirectoryListView(model_.SDirList, desktop, side);
    dirList_->setObjectName("SDirList");
    dirList_->setFixedHeight(kListHeight);
    column->addWidget(dirList_);
    fileList_ = new FileListView(model_.FileList, side);
    fileList_->setObjectName("FileList");
    fileList_->setFixedHeight(kListHeight);
    fileList_->setToolTip("Double Click to Add");
    connect(fileList_, &QListWidget::itemDoubleClicked, this,
            [this] { model_.FileListDblClick(); });
    column->addWidget(fileList_);
    auto* filter = new FilterComboView(model_.FilterComboBox1, desktop, side);
    filter->setObjectName("FilterComboBox1");
    AddLabel(column, "List Files of &Type:", filter);
    auto* drives = new DriveComboView(model_.DriveComboBox1, desktop, side);
    drives->setObjectName("DriveComboBox1");
    // The combo boxes stay in the column; their open lists widen themselves.
    drives->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    filter->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    AddLabel(column, "Dri&ves:", drives);
    return side;
}

// The label shows the directory shortened to the column's width.
void BatchEditorView::BindSourceLabel(QLabel* label) {
    TLabel& model = model_.SourceLabel;
    MeasureInFont(model, label->font(), kBrowsingWidth);
    Bind(label, model, connections_);
    // Re-read for the label's new width; an unreadable directory lists nothing.
    (void)model_.SDirList.Reload();
}

QWidget* BatchEditorView::BuildArrowButtons() {
    auto* middle = new QWidget(this);
    auto* column = new QVBoxLayout(middle);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch();
    remove_ =
        AddArrow("SpeedButton3", "Remove", QStyle::SP_ArrowLeft, &TBatchDlg::SpeedButton3Click);
    remove_->setToolTip("Remove the selected entries from the batch list");
    column->addWidget(remove_);
    column->addSpacing(kArrowIconSize);
    add_ = AddArrow("SpeedButton4", "Add", QStyle::SP_ArrowRight, &TBatchDlg::SpeedButton4Click);
    add_->setToolTip("Add the selected files to the batch list");
    column->addWidget(add_);
    column->addStretch();
    return middle;
}

QToolButton* BatchEditorView::AddArrow(const char* name, const char* accessibleName,
                                       QStyle::StandardPixmap icon, void (TBatchDlg::*click)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    button->setIcon(style()->standardIcon(icon));
    button->setIconSize(QSize(kArrowIconSize, kArrowIconSize));
    button->setAutoRaise(false);
    connect(button, &QToolButton::clicked, this, [this, click] { (model_.*click)(); });
    return button;
}

QWidget* BatchEditorView::BuildBatchSide() {
    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    batchList_ = new ListBoxWidget(side);
    batchList_->setObjectName("BatchList");
    batchList_->setFixedWidth(kBatchListWidth);
    batchList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    batchList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    batchList_->setToolTip("Double Click to Remove");
    connect(batchList_, &QListWidget::itemSelectionChanged, this,
            [this] { ForwardBatchSelection(); });
    connect(batchList_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { model_.BatchListDblClick(batchList_->row(item)); });
    AddLabel(column, "Files to Batch Process:", batchList_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton("Cancel", side);
    cancel->setObjectName("Cancel");
    auto* exit = new QPushButton("E&xit", side);
    exit->setObjectName("Exit");
    for (auto* button : {cancel, exit}) {
        // Enter belongs to the lists, never to a button.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(cancel, &QPushButton::clicked, this, [this] { model_.CancelClick(); });
    connect(exit, &QPushButton::clicked, this, [this] { model_.ExitClick(); });
    column->addLayout(buttons);
    return side;
}

// Only what differs is touched, so the scroll position survives a change of
// selection; every entry is at least as wide as the model's scroll width.
void BatchEditorView::ShowBatchList() {
    if (forwarding_) return;
    const TListBox& list = model_.BatchList;
    QStringList texts;
    for (const auto& item : list.Items()) texts << ToQString(item);
    showingList_ = true;
    if (TextsOf(*batchList_) != texts) {
        batchList_->clear();
        QFontMetrics metrics(batchList_->font());
        for (const QString& text : texts) {
            auto* item = new QListWidgetItem(text, batchList_);
            int width = std::max(model_.BatchListScrollWidth, metrics.horizontalAdvance(text) + 8);
            item->setSizeHint(QSize(width, metrics.height() + 2));
        }
    }
    for (int i = 0; i < batchList_->count(); ++i)
        batchList_->item(i)->setSelected(list.Selected(i));
    if (list.ItemIndex() >= 0)
        batchList_->setCurrentRow(list.ItemIndex(), QItemSelectionModel::NoUpdate);
    showingList_ = false;
}

void BatchEditorView::ForwardBatchSelection() {
    if (showingList_) return;
    forwarding_ = true;
    TListBox& list = model_.BatchList;
    for (int i = 0; i < batchList_->count() && i < list.Count(); ++i)
        list.SetSelected(i, batchList_->item(i)->isSelected());
    list.SetItemIndex(batchList_->currentRow());
    forwarding_ = false;
}

void BatchEditorView::Shown() { dirList_->setFocus(); }

}  // namespace twinfold::qt
