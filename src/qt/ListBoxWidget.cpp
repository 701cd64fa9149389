#include "qt/ListBoxWidget.h"

#include <QTimer>

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

namespace twinfold::qt {

ListBoxWidget::ListBoxWidget(QWidget* parent) : QListWidget(parent) {}

QListWidgetItem* ListBoxWidget::FocusItem() const {
    if (QListWidgetItem* current = currentItem()) return current;
    return count() > 0 ? item(0) : nullptr;
}

namespace {

constexpr int kDisabledRedrawMs = 100;

}  // namespace

void ListBoxWidget::RequestRedraw() {
    if (isEnabled()) {
        redrawPending_ = false;
        Redraw();
        return;
    }
    if (redrawPending_) return;
    redrawPending_ = true;
    // Ten times a second is more than anyone reads a list that runs past.
    QTimer::singleShot(kDisabledRedrawMs, this, [this] { RedrawPending(); });
}

void ListBoxWidget::RedrawPending() {
    if (!redrawPending_) return;
    redrawPending_ = false;
    Redraw();
}

void ListBoxWidget::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled()) RedrawPending();
}

QRect ListBoxWidget::FocusFrame() const {
    if (QListWidgetItem* at = FocusItem()) return visualItemRect(at);
    return viewport()->rect().adjusted(1, 1, -1, -1);
}

void ListBoxWidget::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    const QListWidgetItem* at = FocusItem();
    const auto role =
        at != nullptr && at->isSelected() ? QPalette::HighlightedText : QPalette::Text;
    painter.setPen(QPen(palette().color(role), 1, Qt::DotLine));
    painter.drawRect(FocusFrame().adjusted(0, 0, -1, -1));
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) return QListWidget::keyPressEvent(event);
    event->accept();
    RequestContextMenu();
}

void ListBoxWidget::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    viewport()->update();
}

void ListBoxWidget::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void ListBoxWidget::RequestContextMenu() {
    if (QListWidgetItem* at = FocusItem()) scrollToItem(at);
    const QRect frame = FocusFrame();
    const QPoint at(frame.left() + frame.height() / 2, frame.center().y());
    if (contextMenuPolicy() == Qt::CustomContextMenu) {
        emit customContextMenuRequested(at);
        return;
    }
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
    contextMenuEvent(&request);
}

void AttachContextMenu(QListWidget* list, QMenu* menu) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        list, &QWidget::customContextMenuRequested, menu,
        [list, menu](const QPoint& at) { menu->exec(list->viewport()->mapToGlobal(at)); });
}

}  // namespace twinfold::qt
