#pragma once

#include "qt/ModelDialog.h"

class QLabel;

namespace twinfold {
class TSpecialBox;
}

namespace twinfold::qt {

// Draws the Special dialog: one centred, word-wrapped label and only a close
// box. Like the About box it runs exec() when the model announces that it is
// shown, so tests close it from a timer started before the double click.
class SecretBoxView : public ModelDialog {
    Q_OBJECT

public:
    explicit SecretBoxView(TSpecialBox& model, QWidget* parent = nullptr);

private:
    TSpecialBox& model_;
    QLabel* txt_;
    Connections connections_;
};

}  // namespace twinfold::qt
