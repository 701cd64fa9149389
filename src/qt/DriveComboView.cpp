#include "qt/DriveComboView.h"

#include <QSignalBlocker>
#include <QStyle>

#include "desktop/Desktop.h"
#include "qt/ComboPopup.h"
#include "qt/Strings.h"

namespace twinfold::qt {

DriveComboView::DriveComboView(TDriveComboBox& model, Desktop& desktop, QWidget* parent)
    : QComboBox(parent), model_(model), desktop_(desktop) {
    // The window places the box; long mount points only widen its open list.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Rebuild();
    connect(this, &QComboBox::activated, this, &DriveComboView::Chosen);
    connections_ += model_.OnItemsChange.Connect([this] { Rebuild(); });
}

void DriveComboView::Rebuild() {
    // Redrawing the model is no choice of the person's.
    QSignalBlocker quiet(this);
    clear();
    for (const auto& entry : model_.Items()) addItem(GlyphOf(entry.kind), ToQString(entry.text));
    setCurrentIndex(model_.ItemIndex());
}

void DriveComboView::Chosen(int index) {
    Status chosen = model_.Choose(index);
    if (!chosen) desktop_.Failure(chosen.error().message);
    // A failed choice leaves the model where it was; show that again.
    if (currentIndex() != model_.ItemIndex()) {
        QSignalBlocker quiet(this);
        setCurrentIndex(model_.ItemIndex());
    }
}

void DriveComboView::showPopup() {
    WidenPopupToEntries(*this);
    QComboBox::showPopup();
}

QIcon DriveComboView::GlyphOf(platform::VolumeKind kind) const {
    switch (kind) {
        case platform::VolumeKind::Floppy:
            return style()->standardIcon(QStyle::SP_DriveFDIcon);
        case platform::VolumeKind::Network:
            return style()->standardIcon(QStyle::SP_DriveNetIcon);
        case platform::VolumeKind::CDRom:
            return style()->standardIcon(QStyle::SP_DriveCDIcon);
        // No style has a RAM disk glyph; it is a fixed disk to the person.
        case platform::VolumeKind::Ram:
        case platform::VolumeKind::Hard:
            break;
    }
    return style()->standardIcon(QStyle::SP_DriveHDIcon);
}

}  // namespace twinfold::qt
