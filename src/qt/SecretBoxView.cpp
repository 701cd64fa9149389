#include "about/TSpecialBox.h"

#include "qt/SecretBoxView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "qt/Bind.h"
#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {

SecretBoxView::SecretBoxView(TSpecialBox& model, QWidget* parent)
    : ModelDialog(model, Modality::Modal, parent), model_(model), txt_(new QLabel(this)) {
    setWindowTitle(TSpecialBox::kCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    PlaceOnShow(this, Placement::CentreOnScreen);
    txt_->setObjectName("txt");
    txt_->setAlignment(Qt::AlignCenter);
    txt_->setWordWrap(true);
    Bind(txt_, model_.txt, connections_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(txt_);
    setFixedSize(280, 120);
}

}  // namespace twinfold::qt
