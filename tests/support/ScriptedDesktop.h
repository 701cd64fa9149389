#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/Desktop.h"
#include "platform/Result.h"

namespace twinfold::test {

// A Desktop that records every box and dialog and answers from queues, so a
// test can follow a whole conversation with the person.
class ScriptedDesktop : public Desktop {
public:
    bool Show(const MessageBox& box) override;
    std::optional<std::string> Prompt(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
    std::optional<std::string> OpenFile(const FileDialog& dialog) override;
    std::optional<std::string> SaveFile(const FileDialog& dialog) override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;
    void ShowHelp(int context) override;
    // From `saveChoices` when any are queued, else as a Yes/No box.
    SaveChoice AskToSave(const std::string& text) override;
    // Records the failure; ticks "no more" when `quietAfter` says so.
    bool RunFailure(const std::string& text, const std::string& detail) override;

    // The texts of every box shown, in order.
    std::vector<std::string> Texts() const;

    std::vector<MessageBox> boxes;
    // Answers to Yes/No boxes; when empty, `defaultAnswer`.
    std::deque<bool> answers;
    std::deque<SaveChoice> saveChoices;
    // Whether the person asks for no more failure boxes, box by box.
    std::deque<bool> quietAfter;
    // Runs while a Yes/No box is open, before it is answered.
    std::function<void(const MessageBox&)> onAsk;
    bool defaultAnswer = true;
    // Answers to text prompts and file dialogs; when empty, cancelled.
    std::deque<std::optional<std::string>> promptAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<FileDialog> fileDialogs;
    std::vector<std::string> prompts;  // "caption|prompt|initial"

    // Runs at every message pump with its 1-based number: this is where a
    // test presses Cancel between two files.
    std::function<void(int)> onPump;
    // Runs as each box is shown: a test changes the files between two steps.
    std::function<void(const MessageBox&)> onShow;
    int pumps = 0;
    bool busy = false;
    std::vector<int> helpContexts;
};

// Shows a failure as the program's commands do, so that a case reads as what
// a person sees; true when there was none.
inline bool Shown(const Status& status, Desktop& desktop) {
    if (!status) desktop.Failure(status.error().message);
    return status.ok();
}

}  // namespace twinfold::test
