#pragma once

#include "controls/Signal.h"

namespace twinfold {

// A check box. OnClick runs on every change of state, whether the person or
// the program made it, and never when the state is set to what it already is.
class TCheckBox {
public:
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) {
        if (checked == checked_) return;
        checked_ = checked;
        OnClick();
    }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) {
        if (enabled == enabled_) return;
        enabled_ = enabled;
        OnEnabledChange();
    }

    Signal<> OnClick;
    Signal<> OnEnabledChange;

private:
    bool checked_ = false;
    bool enabled_ = true;
};

}  // namespace twinfold
