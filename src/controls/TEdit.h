#pragma once

#include <string>

#include "controls/Signal.h"

namespace twinfold {

// A one-line edit field. OnChange runs on every change of text, whether the
// person typed it or the program set it, and never when the text stays.
class TEdit {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) {
        if (text == text_) return;
        text_ = text;
        OnChange();
    }

    Signal<> OnChange;

private:
    std::string text_;
};

}  // namespace twinfold
