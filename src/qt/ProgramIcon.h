#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace twinfold::qt {

// The program's picture, the same one the desktop shows for the installed
// program: two overlapping folders, the front one carrying an arrow from the
// back one, drawn at `size` by `size` pixels.
QImage ProgramImage(int size);
QPixmap ProgramPixmap(int size);

// The same picture at the sizes a window's title bar and task bar use.
QIcon ProgramIcon();

}  // namespace twinfold::qt
