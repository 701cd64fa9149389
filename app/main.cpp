#include <QApplication>
#include <QTimer>
#include <string>

#include "main/CommandLine.h"
#include "main/ProgramDir.h"
#include "main/Windows.h"
#include "platform/Interrupt.h"
#include "qt/HelpWindow.h"
#include "qt/MainWindow.h"
#include "qt/QtDesktop.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(twinfold::kAppTitle);
    // Resolved before the windows move the current directory; Qt's own
    // options are gone from argv by now, further arguments are ignored.
    const bool batchGiven = argc > 1;
    const std::string batchFile = batchGiven ? twinfold::CommandLinePath(argv[1]) : std::string();
    twinfold::qt::QtDesktop desktop;
    twinfold::Windows windows(desktop, twinfold::ProgramDirectory());
    twinfold::qt::MainWindow window(windows, desktop);
    desktop.SetParentWindow(&window);
    desktop.helpHandler = [&window](int context) {
        if (context < 0) {
            window.helpWindow()->CloseHelp();
        } else {
            window.helpWindow()->ShowContext(context);
        }
    };
    // SIGTERM, SIGHUP and Ctrl+C stop a copy between two chunks, so its
    // temporary is removed, and then end the program without saving.
    twinfold::platform::InstallInterruptFlag();
    desktop.stopHandler = twinfold::platform::InterruptRequested;
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&windows] {
        if (!twinfold::platform::InterruptRequested()) return;
        windows.syncBox.SetModalResult(twinfold::TSyncBox::kCancelled);
        QApplication::quit();
    });
    stopWatch.start(200);
    if (batchGiven) {
        // The batch's boxes and progress dialog appear alone; the program
        // then ends as a closed main window does, saving no settings.
        windows.main.ExecuteBatch(batchFile);
        desktop.ShowHelp(-1);
        return 0;
    }
    window.show();
    return QApplication::exec();
}
