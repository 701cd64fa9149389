#include "qt/SyncBoxView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "qt/DialogFlags.h"
#include "qt/GaugeWidget.h"
#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

constexpr int kDesignWidth = 393;
constexpr int kDesignHeight = 158;
constexpr int kDesignLineHeight = 13;  // the design font's line
constexpr int kValueLeft = 48;
// Labels are drawn at once, but not more often than a screen refresh.
constexpr int kMinPaintIntervalMs = 16;

// The first row sits one pixel above the client area in the design; here it
// starts at the top edge so that nothing is cut off.
constexpr int kFirstRow = 0;

struct Caption {
    const char* text;
    int left;
    int top;
};
constexpr Caption kCaptions[] = {
    {"From:", 13, kFirstRow}, {"To:", 25, 15}, {"File:", 20, 32}, {"Status:", 4, 48}};

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

}  // namespace

SyncBoxView::SyncBoxView(TSyncBox& model, QWidget* parent)
    : ModelDialog(model, Modality::Window, parent, kDialogFlags | Qt::WindowStaysOnTopHint),
      model_(model) {
    setWindowTitle("Twinfolding...");
    setModal(false);
    setCursor(Qt::WaitCursor);
    // Centred the first time only: where the person moves it, it stays.
    PlaceOnShow(this, Placement::CentreFirstThenKeep);
    scale_ = ScaleForFont();
    setFixedSize(Scaled(0, 0, kDesignWidth, kDesignHeight).size());

    for (const auto& caption : kCaptions) AddCaption(caption.text, caption.left, caption.top);
    AddValue(model_.SyncDirFrom, "SyncDirFrom", kFirstRow);
    AddValue(model_.SyncDirTo, "SyncDirTo", 15);
    AddValue(model_.FileName, "FileName", 32);
    AddValue(model_.Process, "Process", 48);

    gauge_ = new GaugeWidget(model_.Gauge, this);
    gauge_->setObjectName("Gauge");
    gauge_->setGeometry(Scaled(43, 67, 308, 26));
    QLabel* overall = AddValue(model_.Overall, "Overall", 96);
    overall->setGeometry(Scaled(4, 96, kDesignWidth - 8, kDesignLineHeight + 3));
    overall->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("Cancel");
    cancel_->setFont(Bold(font()));
    cancel_->setGeometry(Scaled(152, 117, 89, 33));
    cancel_->setAutoDefault(true);
    cancel_->setFocus();
    connect(cancel_, &QPushButton::clicked, this, [this] { model_.CancelClick(); });

    connections_ += model_.OnRepaint.Connect([this] { PaintNow(this); });
    connections_ += model_.OnFocus.Connect([this] {
        // Only within the program: a run never takes the focus from another
        // program the person has turned to.
        if (isVisible() && QApplication::activeWindow() != nullptr && !isActiveWindow()) {
            activateWindow();
        }
    });
    connections_ += model_.OnFocusCancel.Connect([this] {
        if (isVisible() && focusWidget() != cancel_) cancel_->setFocus();
    });
}

void SyncBoxView::reject() { cancel_->click(); }

void SyncBoxView::closeEvent(QCloseEvent* event) {
    // Not QDialog's close, which would reject (and so cancel): only hide.
    event->ignore();
    model_.FormCloseClick();
}

QLabel* SyncBoxView::AddCaption(const char* text, int left, int top) {
    auto* label = new QLabel(text, this);
    label->setFont(Bold(font()));
    label->setGeometry(Scaled(left, top, kValueLeft - left, kDesignLineHeight + 3));
    return label;
}

QLabel* SyncBoxView::AddValue(TLabel& model, const char* name, int top) {
    auto* label = new QLabel(ToQString(model.Caption()), this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(
        Scaled(kValueLeft, top, kDesignWidth - kValueLeft - 4, kDesignLineHeight + 3));
    values_.emplace_back(label, &model);
    connections_ += model.OnChange.Connect([this] { ShowTexts(); });
    return label;
}

// Laying out a label's text costs more than copying a small file, so the
// texts follow the models at most once a frame; the last text always shows.
void SyncBoxView::ShowTexts() {
    if (!isVisible() || !lastPaint_.isValid() || lastPaint_.elapsed() >= kMinPaintIntervalMs) {
        CopyTexts();
        return;
    }
    if (textsPending_) return;
    textsPending_ = true;
    QTimer::singleShot(kMinPaintIntervalMs - static_cast<int>(lastPaint_.elapsed()), this,
                       [this] { CopyTexts(); });
}

// Only the labels that changed are drawn again, at once.
void SyncBoxView::CopyTexts() {
    textsPending_ = false;
    bool painted = false;
    for (auto& [label, model] : values_) {
        const QString text = ToQString(model->Caption());
        if (label->text() == text) continue;
        label->setText(text);
        if (isVisible()) {
            label->repaint();
            painted = true;
        }
    }
    if (painted) lastPaint_.restart();
}

QRect SyncBoxView::Scaled(int left, int top, int width, int height) const {
    auto at = [this](int value) { return static_cast<int>(std::lround(value * scale_)); };
    return QRect(at(left), at(top), at(left + width) - at(left), at(top + height) - at(top));
}

// The design assumes a 13-pixel line and bold captions that end before the
// values start; a larger font grows the whole dialog by the same factor.
double SyncBoxView::ScaleForFont() const {
    QFontMetrics plain(font());
    QFontMetrics bold(Bold(font()));
    double scale = std::max(1.0, plain.height() / static_cast<double>(kDesignLineHeight));
    for (const auto& caption : kCaptions) {
        double room = kValueLeft - caption.left - 2;
        scale = std::max(scale, (bold.horizontalAdvance(caption.text) + 1) / room);
    }
    double button = (bold.horizontalAdvance("Cancel") + 16) / 89.0;
    return std::max(scale, button);
}

void SyncBoxView::Shown() {
    raise();
    repaint();
    lastPaint_.restart();
}

void SyncBoxView::PaintNow(QWidget* widget) {
    if (!isVisible()) return;
    if (lastPaint_.isValid() && lastPaint_.elapsed() < kMinPaintIntervalMs) {
        widget->update();  // drawn at the next message pump
        return;
    }
    widget->repaint();
    lastPaint_.restart();
}

}  // namespace twinfold::qt
