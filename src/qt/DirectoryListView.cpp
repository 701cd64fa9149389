#include "qt/DirectoryListView.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "desktop/Desktop.h"
#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

constexpr int kIndentPerLevel = 10;

QIcon GlyphOf(TDirectoryListBox::EntryKind kind, const QStyle* style) {
    return style->standardIcon(kind == TDirectoryListBox::EntryKind::Subdirectory
                                   ? QStyle::SP_DirClosedIcon
                                   : QStyle::SP_DirOpenIcon);
}

// Indents each entry by its level, as the lines of a tree would.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(Qt::UserRole).toInt() * kIndentPerLevel, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + index.data(Qt::UserRole).toInt() * kIndentPerLevel, size.height()};
    }
};

}  // namespace

DirectoryListView::DirectoryListView(TDirectoryListBox& model, Desktop& desktop, QWidget* parent)
    : ListBoxWidget(parent), model_(model), desktop_(desktop) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setItemDelegate(new IndentDelegate(this));
    connections_ += model_.OnChange.Connect([this] { RequestRedraw(); });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!refreshing_ && row >= 0) model_.SetItemIndex(row);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
    Refresh();
}

void DirectoryListView::Refresh() {
    refreshing_ = true;
    setUpdatesEnabled(false);
    clear();
    // Asking the style for an icon reads its image: once per kind.
    using Kind = TDirectoryListBox::EntryKind;
    const QIcon glyphs[] = {GlyphOf(Kind::Ancestor, style()), GlyphOf(Kind::Current, style()),
                            GlyphOf(Kind::Subdirectory, style())};
    for (const auto& entry : model_.Items()) {
        auto* item =
            new QListWidgetItem(glyphs[static_cast<int>(entry.kind)], ToQString(entry.text), this);
        item->setData(Qt::UserRole, entry.level);
    }
    setCurrentRow(model_.ItemIndex());
    setUpdatesEnabled(true);
    refreshing_ = false;
}

void DirectoryListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenSelected();
        return;
    }
    ListBoxWidget::keyPressEvent(event);
}

void DirectoryListView::OpenSelected() {
    if (Status opened = model_.OpenSelected(); !opened.ok()) {
        desktop_.Failure(opened.error().message);
        Refresh();
    }
}

}  // namespace twinfold::qt
