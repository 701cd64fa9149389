#include "listing/TDirectoryListBox.h"
#include "listing/TDriveComboBox.h"
#include "listing/TFileListBox.h"
#include "listing/TFilterComboBox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractItemView>
#include <QDir>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "Screenshot.h"
#include "platform/FileSystem.h"
#include "qt/DriveComboView.h"
#include "qt/FilterComboView.h"
#include "qt/Strings.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;
using platform::VolumeKind;
using twinfold::test::SaveScreenshot;
using twinfold::test::ScriptedDesktop;

namespace {

QImage ImageOf(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

// Both lists of a pane over a temporary tree whose volumes are made up; the
// last one's mount point does not exist.
class DrivesViews : public ::testing::Test {
protected:
    void SetUp() override {
        dir.CreateDirectory("Home/ann");
        dir.CreateDirectory("usb");
        dir.CreateDirectory("cdrom");
        dir.CreateFile("boot.ini");
        dir.CreateFile("notes.txt");
        ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
        volumes = {
            {"/", "System", "ext4", VolumeKind::Hard},
            {dir.Path("Home"), "Home Disk", "ext4", VolumeKind::Hard},
            {dir.Path("cdrom"), "Install", "iso9660", VolumeKind::CDRom},
            {dir.Path("usb"), "Stick", "vfat", VolumeKind::Floppy},
            {dir.Path("nas"), "Share", "nfs", VolumeKind::Network},
        };
    }

    TDriveComboBox::VolumeSource Source() {
        return [this] { return volumes; };
    }

    test::CurrentDirectoryGuard guard;
    test::TestDir dir;
    std::vector<platform::Volume> volumes;
    ScriptedDesktop desktop;
};

}  // namespace

TEST_F(DrivesViews, DriveListShowsEveryVolumeWithItsGlyph) {
    TDirectoryListBox list;
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    qt::DriveComboView view(drives, desktop);

    ASSERT_EQ(view.count(), drives.Count());
    for (int i = 0; i < view.count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(qt::FromQString(view.itemText(i)), drives.Items()[i].text);
        EXPECT_FALSE(view.itemIcon(i).isNull());
    }
    EXPECT_EQ(view.currentIndex(), 0);
    const QStyle::StandardPixmap glyphs[] = {QStyle::SP_DriveHDIcon, QStyle::SP_DriveHDIcon,
                                             QStyle::SP_DriveCDIcon, QStyle::SP_DriveFDIcon,
                                             QStyle::SP_DriveNetIcon};
    // The style draws the kinds apart, so a wrong glyph would show.
    for (auto other : {QStyle::SP_DriveCDIcon, QStyle::SP_DriveFDIcon, QStyle::SP_DriveNetIcon}) {
        ASSERT_NE(ImageOf(view.style()->standardIcon(other)),
                  ImageOf(view.style()->standardIcon(QStyle::SP_DriveHDIcon)));
    }
    for (int i = 0; i < view.count(); ++i) {
        EXPECT_EQ(ImageOf(view.itemIcon(i)), ImageOf(view.style()->standardIcon(glyphs[i]))) << i;
    }

    drives.SetTextCase(TTextCase::tcUpperCase);
    EXPECT_EQ(qt::FromQString(view.itemText(1)), dir.Path("Home") + " [HOME DISK]");
}

TEST_F(DrivesViews, ChoosingAnEntryMovesTheDirectoryList) {
    TDirectoryListBox list;
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    qt::DriveComboView view(drives, desktop);
    view.show();

    QTest::keyClick(&view, Qt::Key_Down);  // "/" to the home volume
    EXPECT_EQ(list.Directory(), dir.Path("Home"));
    EXPECT_EQ(drives.ItemIndex(), 1);
    EXPECT_EQ(view.currentIndex(), 1);

    // The directory list moving elsewhere moves the entry shown.
    ASSERT_TRUE(list.SetDirectory(dir.Path("usb")).ok());
    EXPECT_EQ(view.currentIndex(), 3);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DrivesViews, AVolumeThatCannotBeEnteredIsReportedAndTheEntryGoesBack) {
    TDirectoryListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("Home/ann")).ok());
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    qt::DriveComboView view(drives, desktop);
    view.show();
    ASSERT_EQ(view.currentIndex(), 1);

    QTest::keyClick(&view, Qt::Key_End);  // the volume that is gone
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Error);
    EXPECT_NE(desktop.boxes[0].text.find(dir.Path("nas")), std::string::npos);
    EXPECT_EQ(list.Directory(), dir.Path("Home/ann"));
    EXPECT_EQ(drives.ItemIndex(), 1);
    EXPECT_EQ(view.currentIndex(), 1);
}

TEST_F(DrivesViews, FilterListChoiceSetsTheFileListMask) {
    TFileListBox files;
    TFilterComboBox filter;
    filter.SetFileList(&files);
    ASSERT_TRUE(filter.SetFilter("Ini Files (*.ini)|*.ini|All files (*.*)|*.*").ok());
    qt::FilterComboView view(filter, desktop);
    view.show();

    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.itemText(0), "Ini Files (*.ini)");
    EXPECT_EQ(view.itemText(1), "All files (*.*)");
    EXPECT_EQ(view.currentIndex(), 0);
    EXPECT_EQ(files.Count(), 1);

    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(filter.ItemIndex(), 1);
    EXPECT_EQ(files.Mask(), "*.*");
    EXPECT_EQ(files.Count(), 2);

    // A new filter from the program redraws the list.
    ASSERT_TRUE(filter.SetFilter("Text (*.txt)|*.txt").ok());
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(view.itemText(0), "Text (*.txt)");
    EXPECT_EQ(view.currentIndex(), 0);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DrivesViews, Screenshot) {
    TDirectoryListBox list;
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    TFilterComboBox filter;
    ASSERT_TRUE(filter.SetFilter("Ini Files (*.ini)|*.ini|All files (*.*)|*.*").ok());

    QWidget pane;
    auto* layout = new QVBoxLayout(&pane);
    auto* driveView = new qt::DriveComboView(drives, desktop, &pane);
    auto* filterView = new qt::FilterComboView(filter, desktop, &pane);
    layout->addWidget(driveView);
    layout->addWidget(filterView);
    layout->addStretch();
    pane.show();
    ASSERT_TRUE(drives.Choose(3).ok());

    for (QComboBox* combo :
         {static_cast<QComboBox*>(driveView), static_cast<QComboBox*>(filterView)}) {
        SCOPED_TRACE(combo->currentText().toStdString());
        EXPECT_GE(combo->width(), combo->sizeHint().width());
        EXPECT_TRUE(pane.rect().contains(combo->geometry()));
    }
    SaveScreenshot(pane, "combos.png");

    driveView->showPopup();
    QWidget* popup = driveView->view()->window();
    ASSERT_TRUE(popup->isVisible());
    // Entries in the open list are drawn as menu items with room around text
    // and glyph; a list only as wide as the closed box cut the longest mount
    // point short.
    int widest = 0;
    for (int i = 0; i < driveView->count(); ++i) {
        widest =
            std::max(widest, driveView->fontMetrics().horizontalAdvance(driveView->itemText(i)));
    }
    EXPECT_GE(driveView->view()->viewport()->width(), widest + driveView->iconSize().width() + 48);
    SaveScreenshot(*popup, "combos-drives-open.png");
    driveView->hidePopup();

    filterView->showPopup();
    SaveScreenshot(*filterView->view()->window(), "combos-filter-open.png");
    filterView->hidePopup();
}
