#include <QApplication>

#include "main/ProgramDir.h"
#include "main/Windows.h"
#include "qt/MainWindow.h"
#include "qt/QtDesktop.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(twinfold::kAppTitle);
    twinfold::qt::QtDesktop desktop;
    twinfold::Windows windows(desktop, twinfold::ProgramDirectory(desktop));
    twinfold::qt::MainWindow window(windows, desktop);
    desktop.SetParentWindow(&window);
    window.show();
    return QApplication::exec();
}
