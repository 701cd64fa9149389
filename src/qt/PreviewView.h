#pragma once

#include "preview/TPreviewbx.h"

#include "qt/ModelDialog.h"

class QLabel;
class QListWidget;

namespace twinfold::qt {

// The preview on screen: the counts, one row per line, "Save" and "Close".
// Resizable, for long paths and long lists; it fills its list when shown.
class PreviewView : public ModelDialog {
    Q_OBJECT

public:
    explicit PreviewView(TPreviewbx& model, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();

    TPreviewbx& model_;
    QLabel* counts_ = nullptr;
    QListWidget* lines_ = nullptr;
    Connections connections_;
};

}  // namespace twinfold::qt
