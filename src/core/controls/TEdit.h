#pragma once

#include <string>

#include "controls/Signal.h"

namespace twinfold {

// A one-line edit. OnChange runs whenever the text really changes, whether
// the person typed or the program set it.
class TEdit {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) {
        if (text == text_) return;
        text_ = text;
        OnChange();
    }

    // Asks the view to give the edit the keyboard focus.
    void SetFocus() { OnFocusRequest(); }

    Signal<> OnChange;
    Signal<> OnFocusRequest;

private:
    std::string text_;
};

}  // namespace twinfold
