#include "sync/TSyncBox.h"

namespace twinfold {

TSyncBox::TSyncBox(Desktop& desktop) : desktop_(desktop) {}

void TSyncBox::Show() {
    if (visible_) return;
    visible_ = true;
    OnShowChange();
}

void TSyncBox::Close() {
    if (!visible_) return;
    visible_ = false;
    OnShowChange();
}

void TSyncBox::CancelClick() {
    // A cancel button sets the result before its handler runs, so the run
    // state already reads "cancelled" while the question is on screen.
    modalResult_ = kCancelled;
    if (desktop_.Confirm("Are you sure you wish to cancel?")) {
        modalResult_ = kCancelled;
        Close();
    } else {
        modalResult_ = kRunOn;
    }
}

}  // namespace twinfold
