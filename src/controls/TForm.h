#pragma once

#include "controls/Signal.h"

namespace twinfold {

// A window that is shown and hidden. Its view follows OnShowChange, which
// fires only on a real change; a modal view runs its own loop while shown.
class TForm {
public:
    bool Visible() const { return visible_; }
    void Show() { SetVisible(true); }
    void ShowModal() { SetVisible(true); }
    void Close() { SetVisible(false); }

    Signal<> OnShowChange;

private:
    void SetVisible(bool visible) {
        if (visible == visible_) return;
        visible_ = visible;
        OnShowChange();
    }

    bool visible_ = false;
};

}  // namespace twinfold
