#include <QApplication>

#include "main/ProgramDir.h"
#include "main/Windows.h"
#include "qt/HelpWindow.h"
#include "qt/MainWindow.h"
#include "qt/QtDesktop.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(twinfold::kAppTitle);
    twinfold::qt::QtDesktop desktop;
    twinfold::Windows windows(desktop, twinfold::ProgramDirectory(desktop));
    twinfold::qt::MainWindow window(windows, desktop);
    desktop.SetParentWindow(&window);
    desktop.helpHandler = [&window](int context) {
        if (context < 0) {
            window.helpWindow()->CloseHelp();
        } else {
            window.helpWindow()->ShowContext(context);
        }
    };
    window.show();
    return QApplication::exec();
}
