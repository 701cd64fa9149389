#pragma once

#include <optional>
#include <string>

// How the program speaks to the person. The window program answers with real
// dialogs, the console program with lines on a terminal, tests with a script.
namespace twinfold {

inline constexpr const char* kAppTitle = "Twinfold for Windows";

enum class BoxKind {
    Plain,         // the application's title, OK
    Information,   // "Information", OK
    Warning,       // "Warning", Yes and No
    Confirmation,  // "Confirm", Yes and No
    Error,         // the application's title, OK: something failed
};

struct MessageBox {
    BoxKind kind = BoxKind::Plain;
    std::string caption;
    std::string text;
    // A line below the text, such as the system's reason for a failure;
    // empty for none.
    std::string detail = {};
    // A question whose Yes cannot be undone starts on No.
    bool noByDefault = false;
};

// The standard open and save dialogs.
struct FileDialog {
    std::string title;
    std::string filter;   // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
    int filterIndex = 0;  // the entry of `filter` chosen first, from 0
    std::string defaultExtension;
    std::string initialDirectory;
    std::string fileName;
    bool mustExist = false;
    bool confirmOverwrite = false;
};

// The answers to "save the changes before closing?".
enum class SaveChoice { Save, Discard, Cancel };

class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows the box and waits; true when the person answered Yes (always
    // true for boxes with only OK).
    virtual bool Show(const MessageBox& box) = 0;
    // A caption, a prompt line and one edit field of at most 255 characters;
    // nothing when cancelled.
    virtual std::optional<std::string> Prompt(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
    virtual std::optional<std::string> OpenFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialog& dialog) = 0;
    // Lets the windows handle pending input once (a cancel click, a repaint).
    virtual void ProcessMessages() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // 0 opens the contents page; a negative context closes the help.
    virtual void ShowHelp(int context) = 0;
    // True once the person asked the whole program to stop (Ctrl+C at a
    // console): a batch then starts no further entry. Windows have no such
    // request; their Cancel stops one run only.
    virtual bool StopRequested() { return false; }
    // Shows a failure during a run and offers to show no more in that run;
    // true when the person took the offer. A desktop that cannot offer it
    // shows the failure.
    virtual bool RunFailure(const std::string& text, const std::string& detail) {
        Failure(text, detail);
        return false;
    }
    // Asks whether changes are saved before something closes. A desktop
    // with only Yes and No offers to discard them or to stay.
    virtual SaveChoice AskToSave(const std::string& text) {
        return Show({BoxKind::Confirmation, "Confirm", text}) ? SaveChoice::Discard
                                                              : SaveChoice::Cancel;
    }

    void Message(const std::string& text, const std::string& detail = {}) {
        Show({BoxKind::Plain, kAppTitle, text, detail});
    }
    // A plain box that reports a failure; a window shows it with the error
    // icon.
    void Failure(const std::string& text, const std::string& detail = {}) {
        Show({BoxKind::Error, kAppTitle, text, detail});
    }
    void Information(const std::string& text, const std::string& detail = {}) {
        Show({BoxKind::Information, "Information", text, detail});
    }
    bool Warning(const std::string& text) { return Show({BoxKind::Warning, "Warning", text}); }
    bool Confirm(const std::string& text) { return Show({BoxKind::Confirmation, "Confirm", text}); }
    // Asks before something that cannot be undone; No is the default answer.
    bool ConfirmDanger(const std::string& text) {
        return Show({BoxKind::Confirmation, "Confirm", text, {}, true});
    }
};

}  // namespace twinfold
