// The window program's Sync All, with its main window and progress dialog on
// an (offscreen) screen, against the console program on the same tree: a
// first sync and a re-sync each, interleaved round after round.
//
//   QT_QPA_PLATFORM=offscreen gui_sync_bench [--rounds N] [--dirs D] [--files F]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "main/Windows.h"
#include "qt/MainWindow.h"
#include "qt/QtDesktop.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Real windows, but every box is answered at once: nobody sits at the screen.
class UnattendedDesktop : public twinfold::qt::QtDesktop {
public:
    bool Show(const twinfold::MessageBox& box) override {
        if (box.text.find("Successful") == std::string::npos) {
            std::printf("  box: %s\n", box.text.c_str());
        }
        return true;
    }
};

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void MakeTree(const fs::path& root, int dirs, int files) {
    std::string data(6000, 'x');
    for (int d = 0; d < dirs; ++d) {
        fs::path dir = root / ("dir" + std::to_string(d / 20)) / ("sub" + std::to_string(d));
        fs::create_directories(dir);
        for (int f = 0; f < files; ++f) {
            std::ofstream(dir / ("file" + std::to_string(f) + ".dat"), std::ios::binary)
                << data.substr(0, 3000 + static_cast<std::size_t>(f * 131) % 6000);
        }
    }
}

double RunConsole(const fs::path& work, const fs::path& source, const fs::path& dest) {
    std::ofstream(work / "tree.ini")
        << "[Settings]\nSourceDir=" << source.string() << "\nDestDir=" << dest.string()
        << "\nSyncAll=1\n[Options]\nFiletype=0\n";
    std::ofstream(work / "tree.tfw") << "[Files]\nFile0=" << (work / "tree.ini").string() << "\n";
    std::string program = (work / "prog" / "twinfold-batch").string();
    std::string yes = "--yes", batch = (work / "tree.tfw").string();
    char* argv[] = {program.data(), yes.data(), batch.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = -1;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return Seconds(start);
}

double RunWindow(twinfold::Windows& windows, const fs::path& source, const fs::path& dest) {
    auto& main = windows.main;
    (void)main.SourceDirListBox.SetDirectory(source.string());
    (void)main.DestDirListBox.SetDirectory(dest.string());
    main.SyncAll.SetChecked(true);
    QApplication::processEvents();
    const auto start = Clock::now();
    main.SyncBtnClick();
    QApplication::processEvents();
    return Seconds(start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int rounds = 5, dirs = 200, files = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
        if (arg == "--dirs") dirs = std::atoi(argv[i + 1]);
        if (arg == "--files") files = std::atoi(argv[i + 1]);
    }
    const fs::path work = fs::temp_directory_path() / "twinfold-gui-bench";
    fs::remove_all(work);
    MakeTree(work / "source", dirs, files);
    fs::create_directories(work / "prog");
    fs::copy_file(TWINFOLD_BATCH_EXE, work / "prog" / "twinfold-batch");

    UnattendedDesktop desktop;
    twinfold::Windows windows(desktop, (work / "prog").string() + "/");
    std::unique_ptr<twinfold::qt::MainWindow> windowp;
    if (!std::getenv("BENCH_NOVIEW"))
        windowp = std::make_unique<twinfold::qt::MainWindow>(windows, desktop);
    auto& window = *windowp;
    if (std::getenv("BENCH_WORKERS"))
        windows.main.syncWorkers = std::atoi(std::getenv("BENCH_WORKERS"));
    if (windowp) desktop.SetParentWindow(&window);
    if (windowp && !std::getenv("BENCH_HIDDEN")) window.show();

    if (const char* loops = std::getenv("BENCH_RESYNC_LOOPS")) {
        // For a profiler: nothing but the window's re-sync, again and again.
        const fs::path dest = work / "dest-loop";
        fs::create_directories(dest);
        RunWindow(windows, work / "source", dest);
        std::vector<double> t;
        for (int i = 0; i < std::atoi(loops); ++i)
            t.push_back(RunWindow(windows, work / "source", dest));
        std::printf("resync median %.4f\n", Median(t));
        fs::remove_all(work);
        return 0;
    }
    std::vector<double> consoleFirst, consoleAgain, windowFirst, windowAgain;
    for (int round = 0; round < rounds; ++round) {
        for (const char* side : {"console", "window"}) {
            // Fresh each time and kept to the end (see sync_bench).
            const fs::path dest = work / (std::string("dest-") + side + std::to_string(round));
            fs::create_directories(dest);
            std::system("sync");
            const bool console = std::string(side) == "console";
            auto run = [&] {
                return console ? RunConsole(work, work / "source", dest)
                               : RunWindow(windows, work / "source", dest);
            };
            (console ? consoleFirst : windowFirst).push_back(run());
            std::system("sync");
            (console ? consoleAgain : windowAgain).push_back(run());
        }
    }
    std::printf("first sync: console %.3f s, window %.3f s\n", Median(consoleFirst),
                Median(windowFirst));
    std::printf("re-sync:    console %.3f s, window %.3f s\n", Median(consoleAgain),
                Median(windowAgain));
    std::printf("ratios: window / console = %.2f first, %.2f re-sync (goal 1.30)\n",
                Median(windowFirst) / Median(consoleFirst),
                Median(windowAgain) / Median(consoleAgain));
    fs::remove_all(work);
    return 0;
}
