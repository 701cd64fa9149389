#pragma once

#include "sync/TSyncBox.h"

#include <QElapsedTimer>
#include <utility>
#include <vector>
#include "qt/ModelDialog.h"

class QLabel;
class QPushButton;

namespace twinfold::qt {

class GaugeWidget;

// The progress dialog on screen: not modal, on top, with the wait cursor.
// Cancel, Space or Enter on it, and Escape all go to TSyncBox::CancelClick;
// the close box only hides. The engine's label changes are drawn at once,
// but at most about once a frame, so a run of tiny files is not spent
// painting.
class SyncBoxView : public ModelDialog {
    Q_OBJECT

public:
    explicit SyncBoxView(TSyncBox& model, QWidget* parent = nullptr);

    // Factor by which the 393 x 142 design grows so the font's texts fit.
    double Scale() const { return scale_; }

public slots:
    void reject() override;

protected:
    void Shown() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* AddCaption(const char* text, int left, int top);
    QLabel* AddValue(TLabel& label, const char* name, int top);
    QRect Scaled(int left, int top, int width, int height) const;
    double ScaleForFont() const;
    void PaintNow(QWidget* widget);
    // Shows every label's model text now; within a frame of the last time,
    // once at the end of that frame instead.
    void ShowTexts();
    void CopyTexts();

    TSyncBox& model_;
    double scale_ = 1.0;
    GaugeWidget* gauge_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QElapsedTimer lastPaint_;
    bool textsPending_ = false;
    std::vector<std::pair<QLabel*, const TLabel*>> values_;
    Connections connections_;
};

}  // namespace twinfold::qt
