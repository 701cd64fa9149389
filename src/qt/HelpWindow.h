#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace twinfold::qt {

// Help contexts the program asks for.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpMainWindow = 1;
inline constexpr int kHelpBatchEditor = 4;

// The program's help: its own HTML pages, built in as a resource, in one
// small window with a browser and Contents, Back and Forward buttons.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of `context` and brings the window forward; a context
    // without a page of its own shows the contents page. Asked for from a
    // modal dialog, the window becomes that dialog's own, so it stands above
    // it and takes input while the dialog is open.
    void ShowContext(int context);
    // Closes the window, as the program does when it ends.
    void CloseHelp();

    // The page that shows `context`.
    static QUrl PageFor(int context);

protected:
    // Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BelongTo(QWidget* owner);

    QTextBrowser* browser_;
    // The window the help belongs to when no modal dialog asks for it.
    QWidget* home_;
    bool shownBefore_ = false;
};

}  // namespace twinfold::qt
