#pragma once

#include <QObject>
#include <QRect>
#include <functional>
#include <vector>

class QWidget;

namespace twinfold::qt {

// How a control follows its window's growth: the share of the extra width
// by which it moves and by which it grows, then the same of the extra height.
struct Follow {
    double moveX = 0;
    double growX = 0;
    double moveY = 0;
    double growY = 0;
};

// Keeps controls placed by hand in their places as the window they sit in
// grows beyond its least size: each moves and grows by its shares of the
// extra room. Shares are rounded down, so controls whose shares add up (a
// column's growth and the next column's move) never come closer than they
// stand at the least size.
class GrowthLayout : public QObject {
public:
    // `client` is drawn for `least`; it is made no smaller than that.
    GrowthLayout(QWidget* client, QSize least);

    // `control` stands where it is now at the least size.
    void Add(QWidget* control, Follow follow);

    // Called after every placing, once the controls have their new sizes.
    std::function<void()> onPlaced;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* control;
        QRect least;
        Follow follow;
    };

    void Place(QSize size);

    QSize least_;
    std::vector<Entry> entries_;
};

}  // namespace twinfold::qt
