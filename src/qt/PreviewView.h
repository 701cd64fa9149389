#pragma once

// Models first: Qt's "slots" keyword macro would break the listener code in
// controls/Signal.h if a Qt header came before it.
#include "preview/TPreviewbx.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace twinfold::qt {

// The preview on screen: the counts, one row per line, "Save" and "Close".
// Resizable, for long paths and long lists; it fills its list when shown.
class PreviewView : public QDialog {
    Q_OBJECT

public:
    explicit PreviewView(TPreviewbx& model, QWidget* parent = nullptr);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FollowShow();
    void Fill();

    TPreviewbx& model_;
    QLabel* counts_ = nullptr;
    QListWidget* lines_ = nullptr;
};

}  // namespace twinfold::qt
