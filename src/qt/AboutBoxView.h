#pragma once

#include "qt/ModelDialog.h"

namespace twinfold {
class TAboutBox;
}

namespace twinfold::qt {

// Draws the About box. When the model announces that it is shown, the view
// runs exec(), so TAboutBox::Show returns only after the box has closed, as a
// modal dialog does. Tests therefore act on the open box from a timer started
// before they show it (QTimer::singleShot), and close it from there.
class AboutBoxView : public ModelDialog {
    Q_OBJECT

public:
    explicit AboutBoxView(TAboutBox& model, QWidget* parent = nullptr);

private:
    QWidget* BuildPanel();

    TAboutBox& model_;
    Connections connections_;
};

}  // namespace twinfold::qt
