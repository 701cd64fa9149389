#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "controls/TForm.h"
#include "controls/TLabel.h"

namespace twinfold {

// The "Special" dialog, reached only by double-clicking the hidden spot of
// the About box. It shows one short text that the program keeps scrambled.
class TSpecialBox : public TForm {
public:
    static constexpr const char* kCaption = "Special";
    static constexpr std::size_t kTextLength = 53;

    // The dialog's one label, filling it; its caption is set on every showing.
    TLabel txt;

    // Sets txt from a fresh copy of the stored text. Runs on every Show, so
    // the text is right whether or not a view draws the box. Show shows the
    // box modally: its view runs its own loop until Close.
    void FormShow() override;

    // The text as the program stores it, scrambled; never changed.
    static std::span<const unsigned char> StoredText();
};

}  // namespace twinfold
