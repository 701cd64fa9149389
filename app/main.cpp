#include <QApplication>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "Version.h"
#include "main/CommandLine.h"
#include "main/ProgramDir.h"
#include "main/Windows.h"
#include "platform/Interrupt.h"
#include "qt/HelpWindow.h"
#include "qt/MainWindow.h"
#include "qt/QtDesktop.h"

namespace {

constexpr int kWrongCommandLine = 2;

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

// Prints the usage or the version when the command line asks for one; true
// when it did, and the program then ends.
bool AnswersInformation(const twinfold::WindowCommandLine& line) {
    if (line.help) std::cout << twinfold::WindowUsage();
    if (!line.help && line.version) std::cout << twinfold::VersionLine("twinfold");
    return line.help || line.version;
}

}  // namespace

int main(int argc, char** argv) {
    // Asked before Qt starts, so that --help and --version work without a
    // display. Qt's own options make this first reading fail; the second one,
    // after Qt took them out, has the last word.
    if (auto early = twinfold::ParseWindowCommandLine(Arguments(argc, argv));
        early && AnswersInformation(early.value())) {
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(twinfold::kAppTitle);
    QApplication::setApplicationVersion(twinfold::kVersion);
    QGuiApplication::setDesktopFileName(twinfold::kAppId);
    auto line = twinfold::ParseWindowCommandLine(Arguments(argc, argv));
    if (!line) {
        std::cerr << "twinfold: " << line.error().message << '\n' << twinfold::WindowUsage();
        return kWrongCommandLine;
    }
    if (AnswersInformation(line.value())) return 0;
    // Resolved before the windows move the current directory.
    const bool batchGiven = line.value().batchGiven;
    const std::string batchFile = twinfold::CommandLinePath(line.value().batchFile);
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
