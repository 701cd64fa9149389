#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "controls/Signal.h"
#include "controls/TLabel.h"

namespace twinfold {

// The "Special" dialog, reached only by double-clicking the hidden spot of
// the About box. It shows one short text that the program keeps scrambled.
class TSpecialBox {
public:
    static constexpr const char* kCaption = "Special";
    static constexpr std::size_t kTextLength = 53;

    // The dialog's one label, filling it; its caption is set on every showing.
    TLabel txt;

    // Sets txt from a fresh copy of the stored text. Runs on every Show, so
    // the text is right whether or not a view draws the box.
    void FormShow();

    // Shows the box modally: a view that listens to OnShowChange runs its own
    // modal loop until Close. Showing a visible box does nothing.
    void Show();
    void Close();
    bool Visible() const { return visible_; }

    // After every change of Visible.
    Signal<> OnShowChange;

    // The text as the program stores it, scrambled; never changed.
    static std::span<const unsigned char> StoredText();

private:
    bool visible_ = false;
};

}  // namespace twinfold
