#pragma once

class QComboBox;

namespace twinfold::qt {

// Makes `combo`'s open list wide enough for its longest entry. The list draws
// entries as menu items, with more room around text and glyph than the closed
// box has, and would otherwise cut long entries short.
void WidenPopupToEntries(QComboBox& combo);

}  // namespace twinfold::qt
