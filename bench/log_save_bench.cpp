// How long saving a large run-log list takes: a run over a big tree can log
// hundreds of thousands of paths, and the save must stay a matter of moments.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "desktop/Desktop.h"
#include "log/TLogFilebx.h"

namespace {

// Answers every save dialog with one path and counts the boxes shown.
class FixedAnswerDesktop : public twinfold::Desktop {
public:
    explicit FixedAnswerDesktop(std::string path) : path_(std::move(path)) {}
    bool Show(const twinfold::MessageBox&) override {
        ++boxes;
        return true;
    }
    std::optional<std::string> Prompt(const std::string&, const std::string&,
                                      const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(const twinfold::FileDialog&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(const twinfold::FileDialog&) override { return path_; }
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
    void ShowHelp(int) override {}

    int boxes = 0;

private:
    std::string path_;
};

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() /
                   ("twinfold-log-bench-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    FixedAnswerDesktop desktop((dir / "TFSuccess.txt").string());
    twinfold::TLogFilebx log(desktop);

    constexpr int kEntries = 200000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kEntries; ++i)
        log.FileSuccess.Add("/home/ann/data/projects/archive/" + std::to_string(i) + "/REPORT.DOC");
    double appendMs = MillisecondsSince(start);

    start = std::chrono::steady_clock::now();
    log.SaveSuccessClick();
    double saveMs = MillisecondsSince(start);

    std::printf("append %d entries: %.1f ms\nsave %d entries (%ju bytes): %.1f ms, %d boxes\n",
                kEntries, appendMs, kEntries,
                static_cast<std::uintmax_t>(fs::file_size(dir / "TFSuccess.txt")), saveMs,
                desktop.boxes);
    fs::remove_all(dir);
    return desktop.boxes == 0 ? 0 : 1;
}
