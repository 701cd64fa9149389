#include "qt/Placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace twinfold::qt {
namespace {

// The window manager's frame once the window has one; before that a title
// bar and thin borders, so that the title bar is not placed off the screen.
QMargins FrameOf(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle()) {
        if (!handle->frameMargins().isNull()) return handle->frameMargins();
    }
    const int border = 4;
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {border, title + border, border, border};
}

QRect RoomFor(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

bool Resizable(const QWidget* window) { return window->minimumSize() != window->maximumSize(); }

// The first position at which `length` fits between `low` and `high`, as
// close to `wanted` as it can be; `low` when it does not fit at all.
int Clamp(int wanted, int length, int low, int high) {
    return std::max(low, std::min(wanted, high - length + 1));
}

// Places the window when the program shows it, and once more at its first
// paint when the window manager's frame turned out other than the estimate.
class PlaceOnShowFilter : public QObject {
public:
    PlaceOnShowFilter(QWidget* window, Placement how) : QObject(window), how_(how) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        // Only the program's own showing; a window the person restores from
        // an icon stays where they left it.
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            placedAs_ = how_;
            frame_ = FrameOf(window);
            Place(window, placedAs_);
            checkFrame_ = true;
            if (how_ == Placement::CentreFirstThenKeep) how_ = Placement::KeepOnScreen;
        } else if (event->type() == QEvent::Paint && checkFrame_) {
            checkFrame_ = false;
            if (FrameOf(window) != frame_) Place(window, placedAs_);
        }
        return false;
    }

private:
    Placement how_;
    Placement placedAs_ = Placement::KeepOnScreen;
    QMargins frame_;
    bool checkFrame_ = false;
};

// The top left corner of a frame of size `outer` centred on `area`.
QPoint CentredOn(const QRect& area, const QSize& outer) {
    return area.center() - QPoint(outer.width() / 2, outer.height() / 2) + QPoint(1, 1);
}

}  // namespace

void Place(QWidget* window, Placement how) {
    const QRect room = RoomFor(window);
    if (room.isEmpty()) return;
    const QMargins frame = FrameOf(window);
    const QSize most = room.size().shrunkBy(frame);
    if (Resizable(window) && (window->width() > most.width() || window->height() > most.height())) {
        window->resize(window->size().boundedTo(most).expandedTo(window->minimumSize()));
    }
    const QSize outer = window->size().grownBy(frame);
    QPoint wanted = window->geometry().topLeft() - QPoint(frame.left(), frame.top());
    if (how != Placement::KeepOnScreen) {
        wanted = CentredOn(room, outer);
    } else if (!window->testAttribute(Qt::WA_Moved) && window->parentWidget() != nullptr) {
        // Never placed yet: over the middle of the window it belongs to, as
        // a dialog goes (placing it here keeps the toolkit from doing so).
        wanted = CentredOn(window->parentWidget()->window()->frameGeometry(), outer);
    }
    const QPoint corner(Clamp(wanted.x(), outer.width(), room.left(), room.right()),
                        Clamp(wanted.y(), outer.height(), room.top(), room.bottom()));
    // The inside of the window is given, so no toolkit or window manager
    // has to guess whether a position means the frame or the inside.
    window->setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), window->size()));
}

void PlaceOnShow(QWidget* window, Placement how) {
    window->installEventFilter(new PlaceOnShowFilter(window, how));
}

}  // namespace twinfold::qt
