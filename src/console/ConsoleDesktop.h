#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "desktop/Desktop.h"

namespace twinfold {

class ConsoleProgress;
class TSyncBox;

// How the console answers a Yes/No box.
enum class ConsoleAnswer { Yes, No, Ask };

// The Desktop of the console program. Every box becomes one line
// "CAPTION: TEXT", with its detail (a failure's reason) on a line below; a
// Yes/No box adds " -> Yes" or " -> No" after its answer, which is fixed or
// asked for (the question then goes to `prompts` and the answer comes from
// `in`). Text prompts and file dialogs are cancelled: a batch run never
// needs them.
class ConsoleDesktop : public Desktop {
public:
    // `interrupted` tells whether the person asked the program to stop.
    ConsoleDesktop(std::ostream& out, std::ostream& prompts, std::istream& in, ConsoleAnswer answer,
                   std::function<bool()> interrupted);

    bool Show(const MessageBox& box) override;
    std::optional<std::string> Prompt(const std::string&, const std::string&,
                                      const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const FileDialog&) override { return std::nullopt; }
    // Once a stop is requested, every pump cancels the run as a confirmed
    // Cancel of the progress dialog does.
    void ProcessMessages() override;
    void SetBusyCursor(bool) override {}
    void ShowHelp(int) override {}
    bool StopRequested() override { return interrupted_(); }

    // The progress dialog whose run state a stop request sets; its workers
    // stop at the request itself, not at the next pump.
    void Follow(TSyncBox& box);
    // A progress line to take off the terminal before a box is printed.
    void SetProgress(ConsoleProgress* progress) { progress_ = progress; }

private:
    bool Answer(const std::string& line);

    std::ostream& out_;
    std::ostream& prompts_;
    std::istream& in_;
    ConsoleAnswer answer_;
    std::function<bool()> interrupted_;
    TSyncBox* syncBox_ = nullptr;
    ConsoleProgress* progress_ = nullptr;
};

}  // namespace twinfold
