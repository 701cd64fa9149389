#pragma once

#include <QDialog>

#include "controls/Signal.h"
#include "controls/TForm.h"

namespace twinfold::qt {

// A dialog that draws a window model: it shows and hides as the model does,
// and OK, Escape and the close box (accept, reject, done) go to the model's
// Close, so the model alone decides when the dialog ends.
class ModelDialog : public QDialog {
    Q_OBJECT

public:
    enum class Modality {
        // Shown and hidden; the model's command returns at once.
        Window,
        // Runs exec(): the model's Show returns only after the dialog closed,
        // as a modal dialog does.
        Modal,
    };

    ModelDialog(TForm& model, Modality modality, QWidget* parent, Qt::WindowFlags flags = {});

protected:
    void done(int result) override;
    // Before the dialog follows a change of its model's show state.
    virtual void ShowChanging() {}
    // After the dialog came up for its model: the focus and the like.
    virtual void Shown() {}

private:
    void FollowShow();

    TForm& form_;
    Modality modality_;
    Connection following_;
};

}  // namespace twinfold::qt
