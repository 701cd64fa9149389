#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedDesktop.h"
#include "sync/TSyncBox.h"

using twinfold::BoxKind;
using twinfold::TSyncBox;
using twinfold::test::ScriptedDesktop;

namespace {

// A dialog on screen in the middle of a run, with its show changes counted.
struct RunningBox {
    RunningBox() {
        watching = box.OnShowChange.Connect([this] { shows.push_back(box.Visible()); });
        box.SetModalResult(TSyncBox::kRunOn);
        box.Show();
        shows.clear();
    }
    ScriptedDesktop desktop;
    TSyncBox box{desktop};
    std::vector<bool> shows;
    twinfold::Connection watching;
};

}  // namespace

TEST(SyncBox, IsCreatedHiddenWithAnEmptyGauge) {
    ScriptedDesktop desktop;
    TSyncBox box(desktop);
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(box.Gauge.Progress(), 0);
    EXPECT_EQ(box.Gauge.Percent(), 0);
    EXPECT_EQ(box.Process.Caption(), "");
}

TEST(SyncBox, ShowAndCloseNotifyOnlyOnChange) {
    ScriptedDesktop desktop;
    TSyncBox box(desktop);
    int changes = 0;
    const twinfold::Connection boxShowChange = box.OnShowChange.Connect([&] { ++changes; });
    box.Show();
    box.Show();  // every directory of a walk shows it again
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(changes, 1);
    box.Close();
    box.Close();
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(changes, 2);
}

TEST(SyncBox, CancelConfirmedStopsTheRunAndHides) {
    RunningBox run;
    run.desktop.answers = {true};
    run.box.CancelClick();

    ASSERT_EQ(run.desktop.boxes.size(), 1u);
    EXPECT_EQ(run.desktop.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(run.desktop.boxes[0].caption, "Confirm");
    EXPECT_EQ(run.desktop.boxes[0].text, "Are you sure you wish to cancel?");
    EXPECT_EQ(run.box.ModalResult(), TSyncBox::kCancelled);
    EXPECT_FALSE(run.box.Visible());
    EXPECT_EQ(run.shows, std::vector<bool>{false});
}

TEST(SyncBox, CancelDeclinedLetsTheRunGoOn) {
    RunningBox run;
    run.desktop.answers = {false};
    run.box.CancelClick();

    EXPECT_EQ(run.desktop.Texts(), std::vector<std::string>{"Are you sure you wish to cancel?"});
    EXPECT_EQ(run.box.ModalResult(), TSyncBox::kRunOn);
    EXPECT_TRUE(run.box.Visible());
    EXPECT_TRUE(run.shows.empty());
}

TEST(SyncBox, RunStateReadsCancelledWhileTheQuestionIsOpen) {
    int stateDuringQuestion = 0;
    struct Spy : ScriptedDesktop {
        TSyncBox* box = nullptr;
        int* seen = nullptr;
        bool Show(const twinfold::MessageBox& message) override {
            *seen = box->ModalResult();
            return ScriptedDesktop::Show(message);
        }
    } desktop;
    TSyncBox box(desktop);
    desktop.box = &box;
    desktop.seen = &stateDuringQuestion;
    desktop.answers = {false};
    box.SetModalResult(TSyncBox::kRunOn);
    box.CancelClick();
    EXPECT_EQ(stateDuringQuestion, TSyncBox::kCancelled);
    EXPECT_EQ(box.ModalResult(), TSyncBox::kRunOn);
}

TEST(SyncBox, CloseBoxOnlyHides) {
    for (int state : {TSyncBox::kRunOn, TSyncBox::kCancelled}) {
        SCOPED_TRACE(state);
        RunningBox run;
        run.box.SetModalResult(state);
        run.box.FormCloseClick();
        EXPECT_FALSE(run.box.Visible());
        EXPECT_EQ(run.box.ModalResult(), state);
        EXPECT_TRUE(run.desktop.boxes.empty());
        // The walk shows it again at the next directory.
        run.box.Show();
        EXPECT_TRUE(run.box.Visible());
    }
}

TEST(SyncBox, RepaintAndFocusRequestsReachTheView) {
    ScriptedDesktop desktop;
    TSyncBox box(desktop);
    std::vector<std::string> requests;
    const twinfold::Connection boxRepaint =
        box.OnRepaint.Connect([&] { requests.push_back("repaint"); });
    const twinfold::Connection boxFocus = box.OnFocus.Connect([&] { requests.push_back("focus"); });
    const twinfold::Connection boxFocusCancel =
        box.OnFocusCancel.Connect([&] { requests.push_back("cancel"); });
    int labelChanges = 0;
    const twinfold::Connection fileNameChange =
        box.FileName.OnChange.Connect([&] { ++labelChanges; });

    box.FileName.SetCaption("report.doc");
    box.Repaint();
    box.SetFocus();
    box.FocusCancel();
    EXPECT_EQ(labelChanges, 1);
    EXPECT_EQ(requests, (std::vector<std::string>{"repaint", "focus", "cancel"}));
}
