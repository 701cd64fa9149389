#pragma once

#include "controls/Signal.h"
#include "controls/TForm.h"
#include "controls/TLabel.h"

namespace twinfold {

class TSpecialBox;

// The "About" dialog: the product, its version and how to reach its authors,
// an OK button, and a hidden spot that opens the Special dialog.
class TAboutBox : public TForm {
public:
    static constexpr const char* kCaption = "About";

    TAboutBox();

    TLabel ProductName;
    TLabel Version;
    TLabel Copyright;  // the author's notice
    TLabel Address;
    TLabel EMail;

    // The Special dialog that Panel2DblClick opens; linked once at start-up.
    void LinkSpecial(TSpecialBox& special) { special_ = &special; }

    void OKButtonClick() { Close(); }
    // Shows the Special dialog modally on top of this box, which stays open.
    // Without a linked Special dialog it does nothing.
    void Panel2DblClick();

private:
    TSpecialBox* special_ = nullptr;
};

}  // namespace twinfold
