#include "qt/ComboPopup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

namespace twinfold::qt {

void WidenPopupToEntries(QComboBox& combo) {
    int widest = 0;
    for (int i = 0; i < combo.count(); ++i) {
        widest = std::max(widest, combo.fontMetrics().horizontalAdvance(combo.itemText(i)));
    }
    QStyleOptionMenuItem option;
    option.initFrom(&combo);
    option.menuItemType = QStyleOptionMenuItem::Normal;
    option.maxIconWidth = combo.iconSize().width();
    const QSize text(widest + combo.iconSize().width(), combo.fontMetrics().height());
    const QSize item = combo.style()->sizeFromContents(QStyle::CT_MenuItem, &option, text, &combo);
    QAbstractItemView* list = combo.view();
    list->setMinimumWidth(item.width() + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width());
}

}  // namespace twinfold::qt
