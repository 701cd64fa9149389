#include "qt/FilterComboView.h"

#include <QSignalBlocker>

#include "desktop/Desktop.h"
#include "qt/ComboPopup.h"
#include "qt/Strings.h"

namespace twinfold::qt {

FilterComboView::FilterComboView(TFilterComboBox& model, Desktop& desktop, QWidget* parent)
    : QComboBox(parent), model_(model), desktop_(desktop) {
    // The window places the box; long mount points only widen its open list.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Rebuild();
    connect(this, &QComboBox::activated, this, &FilterComboView::Chosen);
    connections_ += model_.OnItemsChange.Connect([this] { Rebuild(); });
}

void FilterComboView::showPopup() {
    WidenPopupToEntries(*this);
    QComboBox::showPopup();
}

void FilterComboView::Rebuild() {
    // Redrawing the model is no choice of the person's.
    QSignalBlocker quiet(this);
    clear();
    for (const auto& description : model_.Items()) addItem(ToQString(description));
    setCurrentIndex(model_.ItemIndex());
}

void FilterComboView::Chosen(int index) {
    Status chosen = model_.Choose(index);
    if (!chosen) desktop_.Failure(chosen.error().message);
}

}  // namespace twinfold::qt
