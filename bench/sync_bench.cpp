// Times a whole-tree sync through the main window's Sync command against
// rsync and cp on the same tree: a first sync into an empty destination and
// a re-sync with nothing to do.
//
//   sync_bench [work-directory] [directories] [files-per-directory]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "main/Windows.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Answers every question with Yes and prints what a person would be shown.
class SilentDesktop : public twinfold::Desktop {
public:
    bool Show(const twinfold::MessageBox& box) override {
        if (box.text != "Directory Sync Successful!") std::printf("  box: %s\n", box.text.c_str());
        return true;
    }
    std::optional<std::string> Prompt(const std::string&, const std::string&,
                                      const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(const twinfold::FileDialog&) override { return {}; }
    std::optional<std::string> SaveFile(const twinfold::FileDialog&) override { return {}; }
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
    void ShowHelp(int) override {}
};

void MakeTree(const fs::path& root, int directories, int files) {
    std::string data(1024, 'x');
    for (int d = 0; d < directories; ++d) {
        fs::path dir = root / ("dir" + std::to_string(d / 20)) / ("sub" + std::to_string(d));
        fs::create_directories(dir);
        for (int f = 0; f < files; ++f) {
            std::ofstream(dir / ("file" + std::to_string(f) + ".dat"), std::ios::binary) << data;
        }
    }
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double TimeCommand(const std::string& command) {
    auto start = Clock::now();
    if (std::system(command.c_str()) != 0) std::printf("  (failed: %s)\n", command.c_str());
    return Seconds(start);
}

double TimeTwinfold(const fs::path& source, const fs::path& dest) {
    SilentDesktop desktop;
    twinfold::Windows windows(desktop, source.string());
    auto& main = windows.main;
    (void)main.SourceDirListBox.SetDirectory(source.string());
    (void)main.DestDirListBox.SetDirectory(dest.string());
    main.SyncAll.SetChecked(true);
    auto start = Clock::now();
    main.SyncBtnClick();
    return Seconds(start);
}

void Report(const char* what, double ours, double cp, double rsync) {
    std::printf("%-10s twinfold %7.3f s   cp %7.3f s (x%.2f)   rsync %7.3f s (x%.2f)\n", what, ours,
                cp, ours / cp, rsync, ours / rsync);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path work =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "twinfold-sync-bench";
    int directories = argc > 2 ? std::atoi(argv[2]) : 200;
    int files = argc > 3 ? std::atoi(argv[3]) : 100;
    fs::remove_all(work);
    fs::path source = work / "source";
    MakeTree(source, directories, files);
    std::printf("tree: %d directories x %d files of 1 KiB\n", directories, files);

    const std::string src = source.string();
    auto dest = [&](const char* name) { return (work / name).string(); };
    fs::create_directories(dest("tf"));

    double oursFirst = TimeTwinfold(source, dest("tf"));
    double cpFirst = TimeCommand("cp -ru --preserve=timestamps " + src + "/. " + dest("cp"));
    double rsyncFirst = TimeCommand("rsync -rt --update " + src + "/ " + dest("rsync"));
    double oursAgain = TimeTwinfold(source, dest("tf"));
    double cpAgain = TimeCommand("cp -ru --preserve=timestamps " + src + "/. " + dest("cp"));
    double rsyncAgain = TimeCommand("rsync -rt --update " + src + "/ " + dest("rsync"));

    Report("first", oursFirst, cpFirst, rsyncFirst);
    Report("re-sync", oursAgain, cpAgain, rsyncAgain);
    fs::remove_all(work);
    return 0;
}
