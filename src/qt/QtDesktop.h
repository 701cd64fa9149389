#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "desktop/Desktop.h"

namespace twinfold::qt {

// The Desktop of the window program: Qt's message boxes, input and file
// dialogs, and the event loop for message pumping. Every box, prompt and
// file dialog belongs to the window the person is working in (DialogParent),
// so a stacking window manager puts it above that window, never behind.
class QtDesktop : public Desktop {
public:
    bool Show(const MessageBox& box) override;
    std::optional<std::string> Prompt(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
    std::optional<std::string> OpenFile(const FileDialog& dialog) override;
    std::optional<std::string> SaveFile(const FileDialog& dialog) override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;
    void ShowHelp(int context) override;

    // The window that owns the dialogs when no other dialog is up (the main
    // window once it exists).
    void SetParentWindow(QWidget* parent) { parent_ = parent; }
    // The topmost modal dialog; else a dialog that stays above the others
    // (the progress dialog while it shows); else the parent window.
    QWidget* DialogParent() const;
    // The help window is another view; it is reached through this hook.
    std::function<void(int)> helpHandler;
    // Whether the program was asked to stop (a terminating signal).
    std::function<bool()> stopHandler;
    SaveChoice AskToSave(const std::string& text) override;
    bool RunFailure(const std::string& text, const std::string& detail) override;
    bool StopRequested() override { return stopHandler && stopHandler(); }

private:
    // Thirty times a second: smooth enough for a progress display and a
    // Cancel button, and a short run spends its time on files, not painting.
    static constexpr int kPumpIntervalMs = 33;

    // Runs a box modally above `parent`, with the arrow cursor.
    int Exec(QMessageBox& dialog, QWidget* parent);

    QPointer<QWidget> parent_;
    QElapsedTimer lastPump_;
    int busyDepth_ = 0;
};

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" in Qt's form:
// "Text Files (*.txt);;All Files (*)".
QString ToQtFilter(const std::string& filter);

}  // namespace twinfold::qt
