#pragma once

#include "fileops/TDelete.h"

#include "qt/ModelDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace twinfold::qt {

// The delete-directory dialog on screen: the directory field, the check box
// for the whole tree, OK and Cancel. It is application-modal and follows the
// model's showing; Escape and the close box cancel.
class DeleteView : public ModelDialog {
    Q_OBJECT

public:
    explicit DeleteView(TDelete& model, QWidget* parent = nullptr);

    QLineEdit* field() const { return field_; }
    QCheckBox* subdirectoriesBox() const { return subdirectories_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void Shown() override;

private:
    void BindField();
    void BindCheckBox();
    QWidget* AddButtons();

    TDelete& model_;
    QLineEdit* field_ = nullptr;
    QCheckBox* subdirectories_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    Connections connections_;
};

}  // namespace twinfold::qt
