#pragma once

class QWidget;

namespace twinfold::qt {

// Where a window goes when it is shown.
enum class Placement {
    // Its frame (title bar included) centred on the screen's free area.
    CentreOnScreen,
    // Centred the first time; afterwards kept where the person moved it, as
    // far as it lies on the screen.
    CentreFirstThenKeep,
    // Centred over its parent's window the first time, afterwards where it
    // was; in both cases moved only as far as it takes to lie inside the
    // screen's free area.
    KeepOnScreen,
};

// Places `window` now. A window larger than the screen's free area is made
// smaller first where it can be resized; one that cannot is put at the top
// left, so that its title bar and its first controls can be reached. The
// frame is the window manager's where it is known, else an estimate of a
// title bar and thin borders.
void Place(QWidget* window, Placement how);

// Places `window` every time it is shown from now on.
void PlaceOnShow(QWidget* window, Placement how);

}  // namespace twinfold::qt
