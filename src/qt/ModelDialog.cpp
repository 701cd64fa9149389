#include "qt/ModelDialog.h"

namespace twinfold::qt {

ModelDialog::ModelDialog(TForm& model, Modality modality, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), form_(model), modality_(modality) {
    following_ = form_.OnShowChange.Connect([this] { FollowShow(); });
}

void ModelDialog::done(int result) {
    if (form_.Visible()) {
        form_.Close();  // FollowShow ends the dialog
    } else {
        QDialog::done(result);
    }
}

void ModelDialog::FollowShow() {
    ShowChanging();
    if (modality_ == Modality::Modal) {
        if (form_.Visible() && !isVisible()) {
            exec();
        } else if (!form_.Visible() && isVisible()) {
            QDialog::done(Accepted);
        }
        return;
    }
    if (!form_.Visible()) {
        hide();
        return;
    }
    show();
    Shown();
}

}  // namespace twinfold::qt
