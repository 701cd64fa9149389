#pragma once

// Models first: Qt's "slots" keyword macro would break the listener code in
// controls/Signal.h if a Qt header came before it.
#include "controls/TLabel.h"

class QFont;

namespace twinfold::qt {

// Lets a label model shorten its texts to `width` pixels of `font`.
//
// A run shortens two directory paths per directory it enters, and shaping a
// text costs tens of microseconds: ASCII texts are summed from cached
// character widths instead, and only one whose sum comes near the limit,
// where kerning could tip the decision, is shaped exactly.
void MeasureInFont(TLabel& label, const QFont& font, int width);

}  // namespace twinfold::qt
