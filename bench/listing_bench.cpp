// How long the lists take to read big directories: a file list over 10,000
// files (one mask piece and two) and a directory list over 1,000
// subdirectories. Prints the best and the median of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "listing/TDirectoryListBox.h"
#include "listing/TFileListBox.h"
#include "platform/FileSystem.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

constexpr int kFiles = 10000;
constexpr int kSubdirectories = 1000;
constexpr int kRuns = 7;

fs::path MakeScratchDirectory() {
    std::random_device seed;
    auto dir = fs::temp_directory_path() / ("twinfold-bench-" + std::to_string(seed()));
    fs::create_directories(dir);
    return dir;
}

void CreateFiles(const fs::path& dir) {
    fs::create_directories(dir);
    const char* extensions[] = {".txt", ".doc", ".ini", ".dat"};
    for (int i = 0; i < kFiles; ++i) {
        std::ofstream(dir / ("File" + std::to_string(i) + extensions[i % 4])) << i;
    }
}

void CreateSubdirectories(const fs::path& dir) {
    for (int i = 0; i < kSubdirectories; ++i)
        fs::create_directories(dir / ("Dir" + std::to_string(i)));
}

// Milliseconds of each run of `step`.
std::vector<double> Time(const std::function<void()>& step) {
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        step();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        runs.push_back(took.count());
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

// A benchmark of a list that could not be read would time nothing.
void Check(const Status& status) {
    if (status.ok()) return;
    std::fprintf(stderr, "%s\n", status.error().message.c_str());
    std::exit(1);
}

void Report(const char* what, int entries, const std::vector<double>& runs) {
    std::printf("%-44s %6d entries  best %8.2f ms  median %8.2f ms\n", what, entries, runs.front(),
                runs[runs.size() / 2]);
}

}  // namespace

int main() {
    const std::string saved = platform::CurrentDirectory().value();
    const fs::path scratch = MakeScratchDirectory();
    const std::string files = (scratch / "files").string();
    const std::string dirs = (scratch / "dirs").string();
    CreateFiles(files);
    CreateSubdirectories(dirs);

    TFileListBox fileList;
    if (!fileList.SetDirectory(files).ok()) return 1;
    Report("file list, mask \"*.*\"", fileList.Count(), Time([&] { Check(fileList.Reload()); }));
    Check(fileList.SetMask("*.txt;*.doc"));
    Report("file list, mask \"*.txt;*.doc\"", fileList.Count(),
           Time([&] { Check(fileList.Reload()); }));
    Check(fileList.SetMask("*.*;*.*"));
    Report("file list, mask \"*.*;*.*\" (every name twice)", fileList.Count(),
           Time([&] { Check(fileList.Reload()); }));

    TDirectoryListBox dirList;
    if (!dirList.SetDirectory(dirs).ok()) return 1;
    Report("directory list, rebuild", dirList.Count(), Time([&] { Check(dirList.Reload()); }));

    Check(platform::SetCurrentDirectory(saved));
    fs::remove_all(scratch);
    return 0;
}
