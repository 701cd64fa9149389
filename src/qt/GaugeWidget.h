#pragma once

#include "controls/TGauge.h"

#include <QImage>
#include <QWidget>

namespace twinfold::qt {

// Draws a TGauge: a white field in a black frame, a navy bar and the
// percentage centred, navy on white and white on the bar. It redraws only
// when the model's percentage changes.
class GaugeWidget : public QWidget {
    Q_OBJECT

public:
    explicit GaugeWidget(TGauge& gauge, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {308, 26}; }
    // The gauge as drawn, at `size` device-independent pixels.
    QImage Render(QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TGauge& gauge_;
    Connection redraw_;
};

}  // namespace twinfold::qt
