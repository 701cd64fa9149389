#include "sync/TSyncBox.h"

namespace twinfold {

TSyncBox::TSyncBox(Desktop& desktop) : desktop_(desktop) {}

void TSyncBox::SetModalResult(int value) {
    modalResult_ = value;
    if (value == kRunOn) token_.Reset();
    if (value == kCancelled) token_.Confirm();
}

void TSyncBox::CancelClick() {
    // A cancel button sets the result before its handler runs, so the run
    // state already reads "cancelled" while the question is on screen.
    modalResult_ = kCancelled;
    token_.Request();
    if (desktop_.Confirm("Are you sure you wish to cancel?")) {
        token_.Confirm();
        Close();
    } else {
        modalResult_ = kRunOn;
        token_.Resume();
    }
}

}  // namespace twinfold
