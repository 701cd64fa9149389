#include "sync/TSyncBox.h"

namespace twinfold {

TSyncBox::TSyncBox(Desktop& desktop) : desktop_(desktop) {}

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
