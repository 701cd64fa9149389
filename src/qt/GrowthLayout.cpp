#include "qt/GrowthLayout.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace twinfold::qt {
namespace {

int Share(int extra, double share) { return static_cast<int>(std::floor(extra * share)); }

}  // namespace

GrowthLayout::GrowthLayout(QWidget* client, QSize least) : QObject(client), least_(least) {
    client->setMinimumSize(least);
    client->installEventFilter(this);
}

void GrowthLayout::Add(QWidget* control, Follow follow) {
    entries_.push_back({control, control->geometry(), follow});
}

bool GrowthLayout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) Place(static_cast<QWidget*>(watched)->size());
    return false;
}

void GrowthLayout::Place(QSize size) {
    const int dx = std::max(0, size.width() - least_.width());
    const int dy = std::max(0, size.height() - least_.height());
    for (const Entry& e : entries_) {
        const Follow& f = e.follow;
        e.control->setGeometry(e.least.x() + Share(dx, f.moveX), e.least.y() + Share(dy, f.moveY),
                               e.least.width() + Share(dx, f.growX),
                               e.least.height() + Share(dy, f.growY));
    }
    if (onPlaced) onPlaced();
}

}  // namespace twinfold::qt
