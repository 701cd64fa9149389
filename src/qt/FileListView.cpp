#include "qt/FileListView.h"

#include <QStyle>

#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

QIcon GlyphOf(TFileListBox::Glyph glyph, const QStyle* style) {
    switch (glyph) {
        case TFileListBox::Glyph::Executable:
            return style->standardIcon(QStyle::SP_ComputerIcon);
        case TFileListBox::Glyph::ClosedFolder:
            return style->standardIcon(QStyle::SP_DirClosedIcon);
        case TFileListBox::Glyph::UnknownFile:
            break;
    }
    return style->standardIcon(QStyle::SP_FileIcon);
}

}  // namespace

FileListView::FileListView(TFileListBox& model, QWidget* parent)
    : ListBoxWidget(parent), model_(model) {
    setSelectionMode(model_.MultiSelect ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connections_ += model_.OnItemsChange.Connect([this] { RequestRedraw(); });
    connections_ += model_.OnChange.Connect([this] { RequestRedraw(); });
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { ForwardSelection(); });
    Refresh();
}

void FileListView::Refresh() {
    // A click that moves the current entry notifies a change too; rebuilding
    // then would lose the anchor of a shift-click.
    if (SameEntries()) return RefreshSelection();
    refreshing_ = true;
    setUpdatesEnabled(false);
    clear();
    // Asking the style for an icon reads its image; a walk lists thousands.
    const QIcon glyphs[] = {GlyphOf(TFileListBox::Glyph::Executable, style()),
                            GlyphOf(TFileListBox::Glyph::UnknownFile, style()),
                            GlyphOf(TFileListBox::Glyph::ClosedFolder, style())};
    for (const auto& entry : model_.Items()) {
        auto* item = new QListWidgetItem(ToQString(entry.text), this);
        if (model_.ShowGlyphs) item->setIcon(glyphs[static_cast<int>(entry.glyph)]);
    }
    setUpdatesEnabled(true);
    refreshing_ = false;
    RefreshSelection();
}

bool FileListView::SameEntries() const {
    if (count() != model_.Count()) return false;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text() != ToQString(model_.Items()[i].text)) return false;
    }
    return true;
}

void FileListView::RefreshSelection() {
    if (count() != model_.Count()) return Refresh();
    refreshing_ = true;
    for (int i = 0; i < count(); ++i) item(i)->setSelected(model_.Selected(i));
    if (model_.ItemIndex() >= 0 && model_.ItemIndex() < count()) {
        setCurrentRow(model_.ItemIndex(), QItemSelectionModel::NoUpdate);
    }
    refreshing_ = false;
}

void FileListView::ForwardSelection() {
    if (refreshing_) return;
    // Marks are passed on row for row, so rows that are not the model's
    // entries would mark other files than the ones clicked.
    if (!SameEntries()) return Refresh();
    for (int i = 0; i < count() && i < model_.Count(); ++i) {
        model_.SetSelected(i, item(i)->isSelected());
    }
    model_.SetItemIndex(currentRow());
    model_.Click();
}

}  // namespace twinfold::qt
