#include "console/ConsoleDesktop.h"

#include <istream>
#include <ostream>
#include <utility>

#include "console/ConsoleProgress.h"
#include "sync/TSyncBox.h"

namespace twinfold {
namespace {

bool AsksYesNo(const MessageBox& box) {
    return box.kind == BoxKind::Warning || box.kind == BoxKind::Confirmation;
}

bool IsYes(const std::string& reply) {
    return reply == "y" || reply == "Y" || reply == "yes" || reply == "Yes" || reply == "YES";
}

}  // namespace

ConsoleDesktop::ConsoleDesktop(std::ostream& out, std::ostream& prompts, std::istream& in,
                               ConsoleAnswer answer, std::function<bool()> interrupted)
    : out_(out),
      prompts_(prompts),
      in_(in),
      answer_(answer),
      interrupted_(std::move(interrupted)) {}

bool ConsoleDesktop::Show(const MessageBox& box) {
    if (progress_ != nullptr) progress_->Clear();
    std::string line =
        (box.caption.empty() ? std::string(kAppTitle) : box.caption) + ": " + box.text;
    if (!AsksYesNo(box)) {
        out_ << line << '\n';
        if (!box.detail.empty()) out_ << box.detail << '\n';
        out_ << std::flush;
        return true;
    }
    const bool yes = Answer(line);
    out_ << line << (yes ? " -> Yes" : " -> No") << '\n' << std::flush;
    return yes;
}

// After a stop request nothing more is asked: the run is ending.
bool ConsoleDesktop::Answer(const std::string& line) {
    if (answer_ != ConsoleAnswer::Ask) return answer_ == ConsoleAnswer::Yes;
    if (interrupted_()) return false;
    prompts_ << line << " [y/N] " << std::flush;
    std::string reply;
    if (!std::getline(in_, reply)) return false;
    return !interrupted_() && IsYes(reply);
}

void ConsoleDesktop::Follow(TSyncBox& box) {
    syncBox_ = &box;
    box.Token().StopWhen(interrupted_);
}

void ConsoleDesktop::ProcessMessages() {
    if (syncBox_ != nullptr && interrupted_()) syncBox_->SetModalResult(TSyncBox::kCancelled);
}

}  // namespace twinfold
