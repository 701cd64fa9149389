#include "about/TAboutBox.h"

#include "qt/AboutBoxView.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <utility>

#include "qt/Placement.h"
#include "qt/ProgramIcon.h"
#include "qt/Strings.h"

namespace twinfold::qt {

namespace {

// The unmarked 16 by 16 spot in the panel's corner. Only a double click
// counts; single clicks fall through to nothing.
class HiddenSpot : public QWidget {
public:
    HiddenSpot(std::function<void()> onDoubleClick, QWidget* parent)
        : QWidget(parent), onDoubleClick_(std::move(onDoubleClick)) {
        setObjectName("Panel2");
        setFixedSize(16, 16);
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        onDoubleClick_();
    }

private:
    std::function<void()> onDoubleClick_;
};

QLabel* TextLabel(const TLabel& label, const char* name, QWidget* parent) {
    auto* widget = new QLabel(ToQString(label.Caption()), parent);
    widget->setObjectName(name);
    return widget;
}

}  // namespace

AboutBoxView::AboutBoxView(TAboutBox& model, QWidget* parent)
    : ModelDialog(model, Modality::Modal, parent), model_(model) {
    setWindowTitle(TAboutBox::kCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    PlaceOnShow(this, Placement::CentreOnScreen);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { model_.OKButtonClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(BuildPanel());
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    ok->setFocus();
}

QWidget* AboutBoxView::BuildPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* icon = new QLabel(panel);
    icon->setObjectName("ProgramIcon");
    icon->setPixmap(ProgramPixmap(48));
    auto* product = TextLabel(model_.ProductName, "ProductName", panel);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    product->setFont(bold);

    auto* title = new QVBoxLayout;
    title->addWidget(product);
    title->addWidget(TextLabel(model_.Version, "Version", panel));
    auto* head = new QHBoxLayout;
    head->setSpacing(14);
    head->addWidget(icon, 0, Qt::AlignTop);
    head->addLayout(title, 1);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(14, 14, 24, 0);
    content->addLayout(head);
    content->addSpacing(16);
    content->addWidget(TextLabel(model_.Copyright, "Copyright", panel));
    content->addWidget(TextLabel(model_.Address, "Address", panel));
    content->addWidget(TextLabel(model_.EMail, "EMail", panel));

    auto* inside = new QVBoxLayout(panel);
    inside->setContentsMargins(0, 0, 0, 0);
    inside->setSpacing(0);
    inside->addLayout(content);
    inside->addWidget(new HiddenSpot([this] { model_.Panel2DblClick(); }, panel), 0,
                      Qt::AlignRight | Qt::AlignBottom);
    return panel;
}

}  // namespace twinfold::qt
