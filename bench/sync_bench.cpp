// The console program against cp and rsync on one freshly built tree: a first
// sync into an empty destination and a re-sync with nothing to do, the three
// tools interleaved round after round, each timed as a whole process (start
// included) after the disk has been flushed.
//
//   sync_bench [--rounds N] [--dirs D] [--files F] [--size BYTES] [--work DIR]
//              [--program PATH-OF-ANOTHER-twinfold-batch]
//   sync_bench --memory [--work DIR]
//
// The last line gives the ratios the goals are stated in. --memory compares
// the peak memory of the console program on 20,000 and on 200,000 files.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    int rounds = 5;
    int dirs = 200;
    int files = 100;
    int size = 6000;
    bool memory = false;
    fs::path work = fs::temp_directory_path() / "twinfold-sync-bench";
    // Another build of the console program, to compare two versions.
    std::string program = TWINFOLD_BATCH_EXE;
};

struct Measure {
    double seconds = 0;
    long peakKiB = 0;
};

// Runs `argv` to its end with its output thrown away.
Measure RunProcess(std::vector<std::string> argv) {
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    Measure m{std::chrono::duration<double>(Clock::now() - start).count(), usage.ru_maxrss};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", args[0], status);
    }
    return m;
}

void MakeTree(const fs::path& root, int dirs, int files, int size) {
    std::string data(static_cast<std::size_t>(size), 'x');
    for (int d = 0; d < dirs; ++d) {
        fs::path dir = root / ("dir" + std::to_string(d / 20)) / ("sub" + std::to_string(d));
        fs::create_directories(dir);
        for (int f = 0; f < files; ++f) {
            // Sizes around `size`, so that not every file is alike.
            const std::size_t length =
                data.size() / 2 + static_cast<std::size_t>(f * 131) % data.size();
            std::ofstream(dir / ("file" + std::to_string(f) + ".dat"), std::ios::binary)
                << data.substr(0, length);
        }
    }
}

// A batch of one settings file that syncs `source` into `dest` whole.
fs::path WriteBatch(const fs::path& work, const fs::path& source, const fs::path& dest) {
    std::ofstream(work / "tree.ini")
        << "[Settings]\nSourceDir=" << source.string() << "\nDestDir=" << dest.string()
        << "\nSyncAll=1\nSelectAll=0\n[Options]\nFiletype=0\n";
    std::ofstream(work / "tree.tfw") << "[Files]\nFile0=" << (work / "tree.ini").string() << "\n";
    return work / "tree.tfw";
}

// The console program copied into the work directory, so that its settings
// file lands there and not in the build folder.
std::string ConsoleProgram(const fs::path& work, const std::string& program) {
    fs::create_directories(work / "prog");
    const fs::path copy = work / "prog" / "twinfold-batch";
    fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
    return copy.string();
}

void FlushDisk() { std::system("sync"); }

struct Series {
    std::vector<double> seconds;
    double Median() const {
        auto sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Min() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double Max() const { return *std::max_element(seconds.begin(), seconds.end()); }
};

int Benchmark(const Options& o) {
    fs::remove_all(o.work);
    const fs::path source = o.work / "source";
    MakeTree(source, o.dirs, o.files, o.size);
    const std::string program = ConsoleProgram(o.work, o.program);
    std::printf("tree: %d directories x %d files of about %d bytes, %d rounds\n", o.dirs, o.files,
                o.size, o.rounds);

    const std::vector<std::string> tools = {"twinfold", "cp", "rsync"};
    std::map<std::string, Series> first, again;
    for (int round = 0; round < o.rounds; ++round) {
        // A different tool goes first each round, so none always meets a
        // cache the one before it warmed.
        for (std::size_t t = 0; t < tools.size(); ++t) {
            const std::string& tool = tools[(t + static_cast<std::size_t>(round)) % tools.size()];
            // A fresh destination each time, and nothing deleted until the
            // end: ext4 steps around recently freed inodes, which would slow
            // whichever tool creates files right after a deletion.
            const fs::path dest = o.work / ("dest-" + tool + "-" + std::to_string(round));
            fs::create_directories(dest);
            std::vector<std::string> command;
            if (tool == "twinfold") {
                command = {program, "--yes", WriteBatch(o.work, source, dest).string()};
            } else if (tool == "cp") {
                command = {"cp", "-ru", "--preserve=timestamps", source.string() + "/.",
                           dest.string()};
            } else {
                command = {"rsync", "-rt", "--update", source.string() + "/", dest.string() + "/"};
            }
            FlushDisk();
            first[tool].seconds.push_back(RunProcess(command).seconds);
            FlushDisk();
            again[tool].seconds.push_back(RunProcess(command).seconds);
        }
    }
    auto print = [&](const char* phase, std::map<std::string, Series>& series) {
        for (const auto& tool : tools) {
            const Series& s = series[tool];
            std::printf("%-8s %-9s median %7.3f s   min %7.3f   max %7.3f\n", phase, tool.c_str(),
                        s.Median(), s.Min(), s.Max());
        }
    };
    print("first", first);
    print("re-sync", again);
    std::printf("ratios: first sync / cp = %.2f (goal 0.70); re-sync / rsync = %.2f (goal 0.50)\n",
                first["twinfold"].Median() / first["cp"].Median(),
                again["twinfold"].Median() / again["rsync"].Median());
    fs::remove_all(o.work);
    return 0;
}

long PeakKiB(const Options& o, int dirs, int files) {
    const fs::path work = o.work / ("memory-" + std::to_string(dirs));
    MakeTree(work / "source", dirs, files, 16);
    fs::create_directories(work / "dest");
    const std::string program = ConsoleProgram(work, o.program);
    return RunProcess({program, "--yes", WriteBatch(work, work / "source", work / "dest").string()})
        .peakKiB;
}

int Memory(const Options& o) {
    fs::remove_all(o.work);
    const long small = PeakKiB(o, 200, 100);
    const long large = PeakKiB(o, 2000, 100);
    std::printf(
        "peak memory: 20,000 files %ld KiB; 200,000 files %ld KiB; difference %.1f MiB "
        "(goal within 20 MiB)\n",
        small, large, (large - small) / 1024.0);
    fs::remove_all(o.work);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string("0"); };
        if (arg == "--memory")
            o.memory = true;
        else if (arg == "--rounds")
            o.rounds = std::max(1, std::atoi(next().c_str()));
        else if (arg == "--dirs")
            o.dirs = std::atoi(next().c_str());
        else if (arg == "--files")
            o.files = std::atoi(next().c_str());
        else if (arg == "--size")
            o.size = std::max(2, std::atoi(next().c_str()));
        else if (arg == "--work")
            o.work = next();
        else if (arg == "--program")
            o.program = next();
        else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    return o.memory ? Memory(o) : Benchmark(o);
}
