#include "log/TLogFilebx.h"
#include "sync/TSyncBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "Screenshot.h"
#include "qt/GaugeWidget.h"
#include "qt/LogFileView.h"
#include "qt/SyncBoxView.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;
using twinfold::test::SaveScreenshot;
using twinfold::test::ScriptedDesktop;

namespace {

const QRgb kNavy = qRgb(0, 0, 128);
const QRgb kWhite = qRgb(255, 255, 255);

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// Every text of `dialog`'s labels and buttons fits its widget.
void ExpectNothingClipped(QWidget& dialog) {
    for (auto* label : dialog.findChildren<QLabel*>()) {
        if (!label->objectName().isEmpty()) continue;  // values may be long paths
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->sizeHint().width(), label->width());
        EXPECT_LE(label->fontMetrics().height(), label->height());
        EXPECT_TRUE(dialog.rect().contains(label->geometry()));
    }
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width());
        EXPECT_TRUE(dialog.rect().contains(button->geometry()));
    }
}

struct ProgressDialog : ::testing::Test {
    ProgressDialog() {
        box.SyncDirFrom.SetCaption("/home/ann/data/reports");
        box.SyncDirTo.SetCaption("/media/backup/reports");
        box.FileName.SetCaption("quarterly summary.ods");
        box.Process.SetCaption("Copying");
        box.Overall.SetCaption("1,204 of 3,000 files, 812.4 MB copied, about 12 min left");
        EXPECT_TRUE(box.Gauge.SetMaxValue(2).ok());
        box.Gauge.SetProgress(1);
        box.SetModalResult(TSyncBox::kRunOn);
    }
    QLabel* Label(const char* name) { return view.findChild<QLabel*>(name); }
    QPushButton* Cancel() { return view.findChild<QPushButton*>("Cancel"); }

    ScriptedDesktop desktop;
    TSyncBox box{desktop};
    qt::SyncBoxView view{box};
};

}  // namespace

TEST_F(ProgressDialog, ShowsTheRunWithoutBlockingAndOnTop) {
    EXPECT_FALSE(view.isVisible());
    box.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.isVisible());
    EXPECT_FALSE(view.isModal());
    EXPECT_TRUE(view.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(view.windowTitle(), "Twinfolding...");
    EXPECT_EQ(view.cursor().shape(), Qt::WaitCursor);
    EXPECT_GE(view.width(), 393);
    EXPECT_GE(view.height(), 158);
    EXPECT_NEAR(view.width() / 393.0, view.height() / 158.0, 0.02) << "grows uniformly";
    EXPECT_EQ(Label("SyncDirFrom")->text(), "/home/ann/data/reports");
    EXPECT_EQ(Label("SyncDirTo")->text(), "/media/backup/reports");
    EXPECT_EQ(Label("FileName")->text(), "quarterly summary.ods");
    EXPECT_EQ(Label("Process")->text(), "Copying");
    EXPECT_EQ(Label("Overall")->text().toStdString(), box.Overall.Caption());
    EXPECT_TRUE(Cancel()->font().bold());
    ExpectNothingClipped(view);
    SaveScreenshot(view, "syncbox.png");
}

TEST_F(ProgressDialog, CancelAsksAndOnlyYesStopsTheRun) {
    box.Show();
    desktop.answers = {false, true};

    QTest::mouseClick(Cancel(), Qt::LeftButton);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Are you sure you wish to cancel?"});
    EXPECT_EQ(box.ModalResult(), TSyncBox::kRunOn);
    EXPECT_TRUE(view.isVisible());

    QTest::mouseClick(Cancel(), Qt::LeftButton);
    EXPECT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(box.ModalResult(), TSyncBox::kCancelled);
    EXPECT_FALSE(box.Visible());
    EXPECT_FALSE(view.isVisible());
}

TEST_F(ProgressDialog, EscapeAndSpacePressCancel) {
    box.Show();
    view.activateWindow();
    desktop.answers = {false, false, true};
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::keyClick(Cancel(), Qt::Key_Space);
    EXPECT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(box.ModalResult(), TSyncBox::kRunOn);
    EXPECT_TRUE(view.isVisible());

    QTest::keyClick(Cancel(), Qt::Key_Escape);  // reaches the dialog from the button
    EXPECT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(box.ModalResult(), TSyncBox::kCancelled);
    EXPECT_FALSE(view.isVisible());
}

TEST_F(ProgressDialog, CloseBoxOnlyHidesAndTheRunGoesOn) {
    box.Show();
    view.close();
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(box.ModalResult(), TSyncBox::kRunOn);
    EXPECT_TRUE(desktop.boxes.empty());
    box.Show();  // the next directory of a walk
    EXPECT_TRUE(view.isVisible());
}

TEST_F(ProgressDialog, LabelChangesAreDrawnAtOnceButNotForEveryTinyFile) {
    box.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(30);
    PaintCounter paints(Label("FileName"));

    box.FileName.SetCaption("first.txt");
    EXPECT_EQ(paints.count, 1) << "drawn before the engine goes on";

    for (int i = 0; i < 2000; ++i) box.FileName.SetCaption("file" + std::to_string(i));
    EXPECT_LT(paints.count, 200);
    // The last text shows within a frame.
    QTest::qWait(40);
    EXPECT_EQ(Label("FileName")->text(), "file1999");
}

TEST_F(ProgressDialog, GaugeRedrawsOnlyWhenThePercentageChanges) {
    EXPECT_TRUE(box.Gauge.SetMaxValue(1000).ok());
    box.Gauge.SetProgress(0);
    box.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QApplication::processEvents();
    auto* gauge = view.findChild<qt::GaugeWidget*>("Gauge");
    ASSERT_NE(gauge, nullptr);
    PaintCounter paints(gauge);

    for (int done = 1; done < 10; ++done) box.Gauge.SetProgress(done);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 0);

    box.Gauge.SetProgress(10);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 1);
}

TEST(GaugeDrawing, BarTextAndFrameFollowThePercentage) {
    TGauge gauge;
    ASSERT_TRUE(gauge.SetMaxValue(2).ok());
    gauge.SetProgress(1);
    qt::GaugeWidget widget(gauge);
    widget.resize(308, 26);
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(308, 26));

    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(307, 25), qRgb(0, 0, 0));
    // Inner width 306: the bar covers 153 columns, x = 1 to 153.
    EXPECT_EQ(image.pixel(1, 2), kNavy);
    EXPECT_EQ(image.pixel(153, 2), kNavy);
    EXPECT_EQ(image.pixel(154, 2), kWhite);
    EXPECT_EQ(image.pixel(306, 2), kWhite);

    // "50%" straddles the bar's end: light marks on the bar, dark on white.
    bool lightOnBar = false;
    bool darkOnWhite = false;
    for (int y = 3; y < 23; ++y) {
        for (int x = 120; x < 190; ++x) {
            QRgb pixel = image.pixel(x, y);
            if (x <= 153 && pixel != kNavy) lightOnBar = true;
            if (x > 153 && pixel != kWhite) darkOnWhite = true;
        }
    }
    EXPECT_TRUE(lightOnBar);
    EXPECT_TRUE(darkOnWhite);

    gauge.SetProgress(0);
    image = widget.Render({308, 26});
    EXPECT_EQ(image.pixel(1, 2), kWhite) << "no bar at 0%";
    gauge.SetProgress(2);
    image = widget.Render({308, 26});
    EXPECT_EQ(image.pixel(306, 2), kNavy) << "a full bar at 100%";
}

namespace {

struct LogDialog : ::testing::Test {
    LogDialog() {
        log.FileSuccess.Add("/home/ann/data/reports/quarterly summary.ods");
        log.FileSuccess.Add("/home/ann/data/reports/2024/annual report with a long name.pdf");
        log.FileOld.Add("/home/ann/data/notes.txt");
        log.FileFailed.Add("/home/ann/data/locked.db");
    }
    QListWidget* List(const char* name) { return view.findChild<QListWidget*>(name); }
    QPushButton* Button(const char* name) { return view.findChild<QPushButton*>(name); }
    static QStringList Texts(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }

    ScriptedDesktop desktop;
    TLogFilebx log{desktop};
    qt::LogFileView view{log};
    test::TestDir dir;
};

}  // namespace

TEST_F(LogDialog, ShowsTheThreeListsModally) {
    log.ShowModal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.isModal());
    EXPECT_EQ(view.windowTitle(), "Twinfold Log");
    QStringList captions;
    for (auto* label : view.findChildren<QLabel*>()) captions << label->text();
    EXPECT_EQ(captions, (QStringList{"Files Successfully Copied:",
                                     "Files Not Copied (Older or Same as Destination):",
                                     "Files Failed During Copy Process:"}));
    EXPECT_EQ(Texts(List("FileSuccess")),
              (QStringList{"/home/ann/data/reports/quarterly summary.ods",
                           "/home/ann/data/reports/2024/annual report with a long name.pdf"}));
    EXPECT_EQ(Texts(List("FileOld")), QStringList{"/home/ann/data/notes.txt"});
    EXPECT_EQ(Texts(List("FileFailed")), QStringList{"/home/ann/data/locked.db"});
    EXPECT_GT(List("FileOld")->horizontalScrollBar()->maximum(), 0) << "scrolls sideways";
    EXPECT_EQ(Button("BitBtn1")->text(), "OK");
    EXPECT_EQ(Button("BitBtn2")->text(), "Clear");
    for (const char* save : {"SaveSuccess", "SaveOld", "SaveFail"})
        EXPECT_EQ(Button(save)->text(), "Save");
    ExpectNothingClipped(view);
    SaveScreenshot(view, "logfile.png");

    QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(log.Visible());
    EXPECT_FALSE(view.isVisible());
}

TEST_F(LogDialog, FollowsTheListsWhileOpenAndAfterReopening) {
    log.ShowModal();
    log.FileOld.Add("/home/ann/data/later.txt");
    QApplication::processEvents();
    EXPECT_EQ(List("FileOld")->count(), 2);

    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(log.Visible());
    // Cleared and refilled while hidden: the reopened dialog shows the new list.
    log.BitBtn2Click();
    log.FileOld.Add("a");
    log.FileOld.Add("b");
    log.FileOld.Add("c");
    log.ShowModal();
    QApplication::processEvents();
    EXPECT_EQ(Texts(List("FileOld")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(List("FileSuccess")->count(), 0);
}

TEST_F(LogDialog, ClearAndSaveButtonsRunTheModelCommands) {
    log.ShowModal();
    desktop.fileAnswers = {dir.Path("copied.txt")};
    QTest::mouseClick(Button("SaveSuccess"), Qt::LeftButton);
    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    EXPECT_EQ(desktop.fileDialogs[0].fileName, "TFSuccess.txt");
    EXPECT_EQ(dir.ReadFile("copied.txt"),
              "/home/ann/data/reports/quarterly summary.ods\r\n"
              "/home/ann/data/reports/2024/annual report with a long name.pdf\r\n");

    QTest::mouseClick(Button("SaveFail"), Qt::LeftButton);  // cancelled
    EXPECT_EQ(desktop.fileDialogs.back().fileName, "TFFailed.txt");

    QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(log.FileSuccess.Count() + log.FileOld.Count() + log.FileFailed.Count(), 0u);
    for (const char* name : {"FileSuccess", "FileOld", "FileFailed"})
        EXPECT_EQ(List(name)->count(), 0) << name;
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(desktop.boxes.empty());
}
