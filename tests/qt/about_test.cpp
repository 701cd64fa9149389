#include "about/TAboutBox.h"
#include "about/TSpecialBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <vector>

#include "Screenshot.h"
#include "qt/AboutBoxView.h"
#include "qt/HelpWindow.h"
#include "qt/SecretBoxView.h"
#include "qt/Strings.h"

using namespace twinfold;
using twinfold::test::SaveScreenshot;
using namespace twinfold::qt;

namespace {

// The views run exec() when their model shows them, so the test acts on an
// open dialog from a timer that fires inside that modal loop. Should the
// dialog still be open afterwards, it is closed so that the test never hangs.
void WhileOpen(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog) << "not shown modally";
        act();
        if (dialog.isVisible()) dialog.close();
    });
}

// Runs `act`, which must not open `dialog`; should it open, the dialog is
// closed again at once so that the test fails instead of hanging.
void ExpectStaysClosed(QDialog& dialog, const std::function<void()>& act) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] {
        ADD_FAILURE() << "opened";
        dialog.close();
    });
    guard.start(0);
    act();
    guard.stop();
    EXPECT_FALSE(dialog.isVisible());
}

bool IsFixedSize(const QWidget& widget) {
    return widget.minimumSize() == widget.maximumSize() && widget.minimumWidth() > 0;
}

// Models outlive their views, as in the program, where every window lives
// until the end.
struct AboutWindows {
    AboutWindows() : aboutView(about), specialView(special, &aboutView) {
        about.LinkSpecial(special);
    }
    QWidget* Spot() { return aboutView.findChild<QWidget*>("Panel2"); }
    QPushButton* Ok() { return aboutView.findChild<QPushButton*>("OKButton"); }
    QLabel* SpecialText() { return specialView.findChild<QLabel*>("txt"); }

    TAboutBox about;
    TSpecialBox special;
    AboutBoxView aboutView;
    SecretBoxView specialView;
};

}  // namespace

TEST(AboutBoxView, ShowsTheModelsTextsWithOkFocused) {
    AboutWindows w;
    bool opened = false;
    WhileOpen(w.aboutView, [&] {
        opened = true;
        EXPECT_EQ(w.aboutView.windowTitle(), "About");
        EXPECT_TRUE(IsFixedSize(w.aboutView));
        EXPECT_EQ(w.aboutView.findChild<QLabel*>("ProductName")->text(), "Twinfold for Windows");
        EXPECT_EQ(w.aboutView.findChild<QLabel*>("Version")->text(), "Version 1.87");
        for (const char* name : {"Copyright", "Address", "EMail"}) {
            SCOPED_TRACE(name);
            auto* label = w.aboutView.findChild<QLabel*>(name);
            ASSERT_NE(label, nullptr);
            EXPECT_FALSE(label->text().isEmpty());
        }
        EXPECT_EQ(w.aboutView.focusWidget(), w.Ok());
        SaveScreenshot(w.aboutView, "about.png");
        QTest::mouseClick(w.Ok(), Qt::LeftButton);
    });
    w.about.Show();  // returns when the box has closed
    EXPECT_TRUE(opened);
    EXPECT_FALSE(w.about.Visible());
    EXPECT_FALSE(w.aboutView.isVisible());
}

TEST(AboutBoxView, HiddenSpotSitsInThePanelsLowerRightCorner) {
    AboutWindows w;
    WhileOpen(w.aboutView, [&] {
        QWidget* spot = w.Spot();
        ASSERT_NE(spot, nullptr);
        EXPECT_EQ(spot->size(), QSize(16, 16));
        auto* panel = qobject_cast<QFrame*>(spot->parentWidget());
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->frameStyle(), QFrame::Panel | QFrame::Sunken);
        const QPoint gap = panel->contentsRect().bottomRight() - spot->geometry().bottomRight();
        EXPECT_LE(gap.manhattanLength(), 2) << "spot is off the corner";
        EXPECT_TRUE(spot->findChildren<QWidget*>().isEmpty());
    });
    w.about.Show();
}

TEST(AboutBoxView, OnlyADoubleClickOnTheSpotOpensSpecial) {
    AboutWindows w;
    std::vector<QString> shown;
    WhileOpen(w.aboutView, [&] {
        ExpectStaysClosed(w.specialView, [&] { QTest::mouseClick(w.Spot(), Qt::LeftButton); });
        EXPECT_FALSE(w.special.Visible());

        for (int showing = 0; showing < 2; ++showing) {
            SCOPED_TRACE(showing);
            WhileOpen(w.specialView, [&] {
                shown.push_back(w.SpecialText()->text());
                EXPECT_TRUE(w.aboutView.isVisible());
                if (showing == 0) SaveScreenshot(w.specialView, "about-special.png");
            });
            QTest::mouseDClick(w.Spot(), Qt::LeftButton);
            // Closing the Special dialog returns to the About box, still open.
            EXPECT_FALSE(w.special.Visible());
            EXPECT_TRUE(w.about.Visible());
            EXPECT_TRUE(w.aboutView.isVisible());
        }
        QTest::mouseClick(w.Ok(), Qt::LeftButton);
    });
    w.about.Show();

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_EQ(shown[0].size(), 53);
    EXPECT_EQ(shown[0], ToQString(w.special.txt.Caption()));
    EXPECT_FALSE(w.about.Visible());
}

TEST(SecretBoxView, IsAFixedLabelOnTopWithOnlyACloseBox) {
    AboutWindows w;
    const Qt::WindowFlags flags = w.specialView.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint));
    EXPECT_TRUE(w.specialView.findChildren<QAbstractButton*>().isEmpty());
    EXPECT_TRUE(IsFixedSize(w.specialView));
    EXPECT_EQ(w.specialView.windowTitle(), "Special");

    QLabel* txt = w.SpecialText();
    EXPECT_TRUE(txt->wordWrap());
    EXPECT_EQ(txt->alignment(), Qt::AlignCenter);

    // The close box (or Escape) closes the model too.
    WhileOpen(w.specialView, [&] { w.specialView.close(); });
    w.special.Show();
    EXPECT_FALSE(w.special.Visible());
}

TEST(HelpWindow, ShowsThePageOfEachContext) {
    HelpWindow help;
    auto* browser = help.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    struct Case {
        int context;
        const char* page;
        const char* heading;
    };
    const Case cases[] = {
        {kHelpMainWindow, "main.html", "The main window"},
        {kHelpBatchEditor, "batch.html", "The batch file format"},
        {kHelpContents, "contents.html", "When is a file copied?"},
        {7, "contents.html", "Twinfold Help"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        help.ShowContext(c.context);
        EXPECT_TRUE(help.isVisible());
        EXPECT_EQ(browser->source().fileName(), c.page);
        EXPECT_TRUE(browser->document()->toPlainText().contains(c.heading));
        if (c.context == kHelpMainWindow) SaveScreenshot(help, "help.png");
    }
    EXPECT_EQ(help.windowTitle(), "Twinfold Help");
    QTest::keyClick(browser, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    help.ShowContext(kHelpContents);
    help.CloseHelp();
    EXPECT_FALSE(help.isVisible());
}

TEST(HelpWindow, EveryLinkLeadsToAPage) {
    HelpWindow help;  // registers the pages
    const QRegularExpression link("href=\"([^\"#]+)\"");
    for (const char* page : {"contents", "main", "batch", "settings", "log"}) {
        SCOPED_TRACE(page);
        QFile file(QString(":/help/%1.html").arg(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const auto& match : link.globalMatch(html)) {
            SCOPED_TRACE(match.captured(1).toStdString());
            EXPECT_TRUE(QFile::exists(":/help/" + match.captured(1)));
        }
    }
}
