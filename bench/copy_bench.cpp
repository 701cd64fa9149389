// Times BufferedCopyFile at the five buffer sizes the Options dialog offers
// against the system's cp on one 256 MiB file.
//
//   copy_bench [directory]    (default: $TMPDIR, else /tmp)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "sync/FmxUtils.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

constexpr std::uint64_t kFileBytes = 256ull << 20;
constexpr int kRounds = 3;

// Nobody to ask: a failed copy goes to the terminal.
bool Copied(const Status& copied) {
    if (!copied) std::cerr << copied.error().message << "\n";
    return copied.ok();
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// Data that neither compresses nor repeats within a block.
bool WriteSource(const std::string& path) {
    auto file = platform::File::CreateNew(path);
    if (!file) return false;
    std::vector<char> chunk(1 << 20);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (std::uint64_t written = 0; written < kFileBytes; written += chunk.size()) {
        for (auto& byte : chunk) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            byte = static_cast<char>(state);
        }
        if (!file.value().Write(chunk)) return false;
    }
    return static_cast<bool>(file.value().Close());
}

// Best time of a few rounds, with the target removed and dirty pages flushed
// before each, so no round pays for the previous one's writes.
template <typename Copy>
double BestSeconds(const std::string& target, Copy copy) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        std::error_code ec;
        fs::remove(target, ec);
        std::system("sync");
        auto start = std::chrono::steady_clock::now();
        if (!copy()) return -1;
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

double MegabytesPerSecond(double seconds) { return kFileBytes / 1e6 / seconds; }

std::string BenchDirectory(int argc, char** argv) {
    std::string base = argc > 1 ? argv[1] : "";
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
    }
    std::random_device random;
    return (fs::path(base) / ("twinfold-copy-bench-" + std::to_string(random()))).string();
}

int Run(const std::string& root) {
    const std::string source = root + "/source.bin";
    const std::string destination = root + "/out";
    const std::string target = destination + "/source.bin";
    fs::create_directories(destination);
    if (!WriteSource(source)) {
        std::cerr << "cannot write " << source << "\n";
        return 1;
    }
    double cp = BestSeconds(target, [&] {
        return std::system(("cp -- " + Quoted(source) + " " + Quoted(destination)).c_str()) == 0;
    });
    std::printf("file %llu MiB, best of %d rounds, MB = 10^6 bytes\n",
                static_cast<unsigned long long>(kFileBytes >> 20), kRounds);
    std::printf("%-12s %10s %10s %8s\n", "copy", "seconds", "MB/s", "vs cp");
    std::printf("%-12s %10.3f %10.1f %8.2f\n", "cp", cp, MegabytesPerSecond(cp), 1.0);
    for (std::int32_t size : {32768, 131072, 262144, 524288, 1048576}) {
        double seconds = BestSeconds(
            target, [&] { return Copied(BufferedCopyFile(source, destination, size)); });
        if (seconds < 0) return 1;
        std::printf("%-12s %10.3f %10.1f %8.2f\n",
                    ("buffer " + std::to_string(size >> 10) + "K").c_str(), seconds,
                    MegabytesPerSecond(seconds), cp / seconds);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = BenchDirectory(argc, argv);
    int status = Run(root);
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}
