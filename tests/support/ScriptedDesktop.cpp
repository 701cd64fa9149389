#include "support/ScriptedDesktop.h"

namespace twinfold::test {

bool ScriptedDesktop::Show(const MessageBox& box) {
    boxes.push_back(box);
    if (onShow) onShow(box);
    if (box.kind != BoxKind::Warning && box.kind != BoxKind::Confirmation) return true;
    if (onAsk) onAsk(box);
    if (answers.empty()) return defaultAnswer;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDesktop::Prompt(const std::string& caption,
                                                   const std::string& prompt,
                                                   const std::string& initial) {
    prompts.push_back(caption + "|" + prompt + "|" + initial);
    if (promptAnswers.empty()) return std::nullopt;
    auto answer = promptAnswers.front();
    promptAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDesktop::OpenFile(const FileDialog& dialog) {
    return SaveFile(dialog);
}

std::optional<std::string> ScriptedDesktop::SaveFile(const FileDialog& dialog) {
    fileDialogs.push_back(dialog);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

void ScriptedDesktop::ProcessMessages() {
    ++pumps;
    if (onPump) onPump(pumps);
}

void ScriptedDesktop::SetBusyCursor(bool isBusy) { busy = isBusy; }

bool ScriptedDesktop::RunFailure(const std::string& text, const std::string& detail) {
    Failure(text, detail);
    if (quietAfter.empty()) return false;
    const bool quiet = quietAfter.front();
    quietAfter.pop_front();
    return quiet;
}

SaveChoice ScriptedDesktop::AskToSave(const std::string& text) {
    if (saveChoices.empty()) return Desktop::AskToSave(text);
    boxes.push_back({BoxKind::Confirmation, "Confirm", text});
    const SaveChoice choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
}

void ScriptedDesktop::ShowHelp(int context) { helpContexts.push_back(context); }

std::vector<std::string> ScriptedDesktop::Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes) texts.push_back(box.text);
    return texts;
}

}  // namespace twinfold::test
