#include "qt/HelpWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "qt/Placement.h"

// The pages live in a static library, whose resource registration the linker
// would drop unless something refers to it; this does, once.
static void RegisterHelpPages() { Q_INIT_RESOURCE(help); }

namespace twinfold::qt {

namespace {

QPushButton* NavigationButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)), home_(parent) {
    static const bool registered = (RegisterHelpPages(), true);
    (void)registered;
    setWindowTitle("Twinfold Help");
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);

    auto* contents = NavigationButton("&Contents", this);
    auto* back = NavigationButton("&Back", this);
    auto* forward = NavigationButton("&Forward", this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, [this] { ShowContext(kHelpContents); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    resize(640, 560);
    PlaceOnShow(this, Placement::CentreFirstThenKeep);
}

QUrl HelpWindow::PageFor(int context) {
    switch (context) {
        case kHelpMainWindow:
            return QUrl("qrc:/help/main.html");
        case kHelpBatchEditor:
            return QUrl("qrc:/help/batch.html");
        default:
            return QUrl("qrc:/help/contents.html");
    }
}

void HelpWindow::ShowContext(int context) {
    QWidget* modal = QApplication::activeModalWidget();
    BelongTo(modal != nullptr && modal != this ? modal : home_);
    browser_->setSource(PageFor(context));
    shownBefore_ = true;
    show();
    raise();
    activateWindow();
}

void HelpWindow::CloseHelp() { close(); }

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A window of a modal dialog's own is the only kind that dialog lets through;
// the help keeps its place and size when it changes hands.
void HelpWindow::BelongTo(QWidget* owner) {
    if (owner == parentWidget()) return;
    const QRect frame = frameGeometry();
    const QSize size = this->size();
    setParent(owner, windowFlags());
    if (shownBefore_) {
        resize(size);
        move(frame.topLeft());
    }
}

}  // namespace twinfold::qt
