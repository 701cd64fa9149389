#include "qt/LogFileView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "qt/DialogFlags.h"
#include "qt/ListBoxWidget.h"
#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

// Long paths can be scrolled into view up to at least this width.
constexpr int kScrollWidth = 1000;

}  // namespace

LogFileView::LogFileView(TLogFilebx& model, QWidget* parent)
    : ModelDialog(model, Modality::Window, parent, kDialogFlags), model_(model) {
    setWindowTitle("Twinfold Log");
    setModal(true);
    PlaceOnShow(this, Placement::KeepOnScreen);
    auto* grid = new QGridLayout(this);
    AddPane(grid, 0, "Files Successfully Copied:", model_.FileSuccess, "FileSuccess", "SaveSuccess",
            [this] { model_.SaveSuccessClick(); });
    AddPane(grid, 2, "Files Not Copied (Older or Same as Destination):", model_.FileOld, "FileOld",
            "SaveOld", [this] { model_.SaveOldClick(); });
    AddPane(grid, 4, "Files Failed During Copy Process:", model_.FileFailed, "FileFailed",
            "SaveFail", [this] { model_.SaveFailClick(); });
    grid->addWidget(AddButtons(), 6, 0, 1, 2);
    resize(560, 480);
}

void LogFileView::AddPane(QGridLayout* grid, int row, const char* caption, LogList& list,
                          const char* listName, const char* saveName, std::function<void()> save) {
    grid->addWidget(new QLabel(caption, this), row, 0, 1, 2);
    auto* widget = new ListBoxWidget(this);
    widget->setObjectName(listName);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->addWidget(widget, row + 1, 0);
    auto* button = new QPushButton("Save", this);
    button->setObjectName(saveName);
    button->setAutoDefault(false);
    grid->addWidget(button, row + 1, 1, Qt::AlignTop);
    connect(button, &QPushButton::clicked, this, std::move(save));

    panes_.push_back({&list, widget});
    connections_ +=
        list.OnChange.Connect([this, index = panes_.size() - 1] { ListChanged(index); });
}

QWidget* LogFileView::AddButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto* ok = new QPushButton("OK", row);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* clear = new QPushButton("Clear", row);
    clear->setObjectName("BitBtn2");
    clear->setAutoDefault(false);
    layout->addWidget(ok);
    layout->addWidget(clear);
    connect(ok, &QPushButton::clicked, this, [this] { model_.BitBtn1Click(); });
    connect(clear, &QPushButton::clicked, this, [this] { model_.BitBtn2Click(); });
    return row;
}

void LogFileView::showEvent(QShowEvent* event) {
    SyncPanes();
    QDialog::showEvent(event);
}

// Only "Clear" empties a list, and it is seen here at once even while the
// dialog is hidden, so a list cleared and refilled is never mistaken for one
// that only grew.
void LogFileView::ListChanged(std::size_t index) {
    if (panes_[index].list->Count() == 0) panes_[index].emptied = true;
    ScheduleSync();
}

void LogFileView::ScheduleSync() {
    if (!isVisible() || syncPending_) return;
    syncPending_ = true;
    QTimer::singleShot(0, this, [this] { SyncPanes(); });
}

void LogFileView::SyncPanes() {
    syncPending_ = false;
    for (auto& pane : panes_) SyncPane(pane);
}

// The lists only grow between two clears, so what the widget shows is a
// prefix of the list and only the new entries need adding.
void LogFileView::SyncPane(Pane& pane) {
    auto& widget = *pane.widget;
    const auto& list = *pane.list;
    if (pane.emptied) widget.clear();
    pane.emptied = false;
    QFontMetrics metrics(widget.font());
    int height = metrics.height() + 2;
    for (auto i = static_cast<std::size_t>(widget.count()); i < list.Count(); ++i) {
        auto* item = new QListWidgetItem(ToQString(std::string(list[i])), &widget);
        int width = std::max(kScrollWidth, metrics.horizontalAdvance(item->text()) + 8);
        item->setSizeHint(QSize(width, height));
    }
}

}  // namespace twinfold::qt
