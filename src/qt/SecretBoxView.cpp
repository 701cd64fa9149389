// Models first: controls/Signal.h names a local `slots`, which Qt headers
// turn into a macro.
#include "about/TSpecialBox.h"

#include "qt/SecretBoxView.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {

SecretBoxView::SecretBoxView(TSpecialBox& model, QWidget* parent)
    : QDialog(parent), model_(model), txt_(new QLabel(this)) {
    setWindowTitle(TSpecialBox::kCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    PlaceOnShow(this, Placement::CentreOnScreen);
    txt_->setObjectName("txt");
    txt_->setAlignment(Qt::AlignCenter);
    txt_->setWordWrap(true);
    txt_->setText(ToQString(model_.txt.Caption()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(txt_);
    setFixedSize(280, 120);

    QPointer<SecretBoxView> self(this);
    model_.txt.OnChange.Connect([self] {
        if (self) self->txt_->setText(ToQString(self->model_.txt.Caption()));
    });
    model_.OnShowChange.Connect([self] {
        if (self) self->FollowModel();
    });
}

void SecretBoxView::FollowModel() {
    if (model_.Visible() && !isVisible()) {
        exec();
    } else if (!model_.Visible() && isVisible()) {
        QDialog::done(Accepted);
    }
}

void SecretBoxView::done(int result) {
    if (model_.Visible()) {
        model_.Close();  // FollowModel hides the dialog
    } else {
        QDialog::done(result);
    }
}

}  // namespace twinfold::qt
