#pragma once

#include <QIcon>
#include <QPixmap>

namespace twinfold::qt {

// The program's picture: two overlapping folders, the front one carrying an
// arrow from the back one, drawn at `size` by `size` pixels.
QPixmap ProgramPixmap(int size);

// The same picture at the sizes a window's title bar and task bar use.
QIcon ProgramIcon();

}  // namespace twinfold::qt
