#include "about/TAboutBox.h"

#include <string>

#include "Version.h"
#include "about/TSpecialBox.h"

namespace twinfold {

TAboutBox::TAboutBox() {
    ProductName.SetCaption("Twinfold for Windows");
    Version.SetCaption(std::string("Version ") + kVersion);
    Copyright.SetCaption("Written by the Twinfold team");
    Address.SetCaption("7 Weaver's Row, Millbrook MB4 2TF");
    EMail.SetCaption("E-mail: team@twinfold.example.org");
}

void TAboutBox::Panel2DblClick() {
    if (special_) special_->Show();
}

}  // namespace twinfold
