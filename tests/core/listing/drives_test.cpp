#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "listing/TDirectoryListBox.h"
#include "listing/TDriveComboBox.h"
#include "platform/FileSystem.h"
#include "platform/Volumes.h"
#include "support/TestDir.h"

using namespace twinfold;
using platform::Volume;
using platform::VolumeKind;

namespace {

std::string Cwd() { return platform::CurrentDirectory().value(); }

// A mount table as a desktop machine shows it, with the kinds of lines the
// drive list must leave out or tell apart.
constexpr const char* kMounts =
    "rootfs / rootfs rw 0 0\n"
    "/dev/sda2 / ext4 rw,relatime 0 0\n"
    "proc /proc proc rw,nosuid 0 0\n"
    "sysfs /sys sysfs rw 0 0\n"
    "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
    "devtmpfs /dev devtmpfs rw 0 0\n"
    "tmpfs /dev/shm tmpfs rw 0 0\n"
    "tmpfs /run tmpfs rw 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw 0 0\n"
    "systemd-1 /proc/sys/fs/binfmt_misc autofs rw 0 0\n"
    "/dev/sda3 /home ext4 rw 0 0\n"
    "server:/export /mnt/nfs nfs4 rw 0 0\n"
    "//nas/share /mnt/smb cifs rw 0 0\n"
    "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
    "tmpfs /mnt/ram tmpfs rw 0 0\n"
    "/dev/sdb1 /media/My\\040Stick vfat rw 0 0\n"
    "/dev/sdc1 /run/media/ann/BACKUP ext4 rw 0 0\n"
    "tmpfs /runner tmpfs rw 0 0\n"
    "/dev/sdd1 /data ext4 rw 0 0\n"
    "/dev/sde1 /data xfs rw 0 0\n"
    "overlay /var/lib/box overlay rw 0 0\n";

// Devices as the system would describe them, and which ones were asked.
struct FakeDevices {
    std::map<std::string, std::string> labels;
    std::vector<std::string> removable;
    std::vector<std::string> asked;

    platform::DeviceProbe Probe() {
        platform::DeviceProbe probe;
        probe.isRemovable = [this](const std::string& source) {
            asked.push_back(source);
            return std::find(removable.begin(), removable.end(), source) != removable.end();
        };
        probe.labelOf = [this](const std::string& source) {
            auto found = labels.find(source);
            return found == labels.end() ? std::string() : found->second;
        };
        return probe;
    }
};

struct Expected {
    std::string mountPoint;
    std::string label;
    std::string fsType;
    VolumeKind kind;
    std::string device = {};
};

void ExpectVolumes(const std::vector<Volume>& volumes, const std::vector<Expected>& expected) {
    ASSERT_EQ(volumes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].mountPoint);
        EXPECT_EQ(volumes[i].mountPoint, expected[i].mountPoint);
        EXPECT_EQ(volumes[i].label, expected[i].label);
        EXPECT_EQ(volumes[i].fsType, expected[i].fsType);
        EXPECT_EQ(volumes[i].kind, expected[i].kind);
        EXPECT_EQ(volumes[i].device, expected[i].device);
    }
}

}  // namespace

TEST(DrivesMountTable, OffersRealVolumesInOrderWithKindsAndLabels) {
    FakeDevices devices;
    devices.labels = {{"/dev/sda2", "System"}, {"/dev/sdb1", "My Stick"}, {"/dev/sde1", "Data"}};
    devices.removable = {"/dev/sdb1"};
    auto volumes = platform::ParseMounts(kMounts, devices.Probe());
    ExpectVolumes(volumes, {
                               {"/", "System", "ext4", VolumeKind::Hard, "sda2"},
                               {"/data", "Data", "xfs", VolumeKind::Hard, "sde1"},
                               {"/home", "", "ext4", VolumeKind::Hard, "sda3"},
                               {"/media/My Stick", "My Stick", "vfat", VolumeKind::Floppy, "sdb1"},
                               {"/media/cdrom", "", "iso9660", VolumeKind::CDRom, "sr0"},
                               {"/mnt/nfs", "", "nfs4", VolumeKind::Network, "server:/export"},
                               {"/mnt/ram", "", "tmpfs", VolumeKind::Ram},
                               {"/mnt/smb", "", "cifs", VolumeKind::Network, "//nas/share"},
                               {"/run/media/ann/BACKUP", "", "ext4", VolumeKind::Hard, "sdc1"},
                               {"/runner", "", "tmpfs", VolumeKind::Ram},
                               {"/var/lib/box", "", "overlay", VolumeKind::Hard},
                           });
    // Only device files are asked about, never "tmpfs" or "server:/export".
    for (const auto& source : devices.asked) EXPECT_EQ(source.rfind("/dev/", 0), 0u) << source;
}

TEST(DrivesMountTable, RootIsOfferedFirstEvenWhenTheTableLacksIt) {
    struct Case {
        const char* label;
        const char* text;
        std::vector<std::string> mountPoints;
    } cases[] = {
        {"empty table", "", {"/"}},
        {"only pseudo file systems", "proc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\n", {"/"}},
        {"no root line", "/dev/sdb1 /backup ext4 rw 0 0\n", {"/", "/backup"}},
        {"broken lines skipped",
         "garbage\n/dev/x relative ext4 rw\n\n/dev/y /ok ext4\n",
         {"/", "/ok"}},
        {"container overlay root", "overlay / overlay rw 0 0\n", {"/"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> points;
        for (const auto& volume : platform::ParseMounts(c.text))
            points.push_back(volume.mountPoint);
        EXPECT_EQ(points, c.mountPoints);
    }
    EXPECT_EQ(platform::ParseMounts("overlay / overlay rw 0 0\n").front().fsType, "overlay");
}

TEST(DrivesMountTable, DecodesEscapes) {
    auto volumes = platform::ParseMounts(
        "/dev/a /mnt/tab\\011here ext4 rw 0 0\n"
        "/dev/b /mnt/back\\134slash ext4 rw 0 0\n"
        "/dev/c /mnt/not\\08octal ext4 rw 0 0\n"
        "/dev/d /mnt/cut\\04 ext4 rw 0 0\n");
    std::vector<std::string> points;
    for (const auto& volume : volumes) points.push_back(volume.mountPoint);
    EXPECT_EQ(points, (std::vector<std::string>{"/", "/mnt/back\\slash", "/mnt/cut\\04",
                                                "/mnt/not\\08octal", "/mnt/tab\there"}));

    EXPECT_EQ(platform::DecodeLabelName("My\\x20Stick"), "My Stick");
    EXPECT_EQ(platform::DecodeLabelName("A\\x2fB\\x5c"), "A/B\\");
    EXPECT_EQ(platform::DecodeLabelName("odd\\xzz\\x2"), "odd\\xzz\\x2");
}

TEST(DrivesMountTable, ThisMachineOffersRootFirstAndNoPseudoMounts) {
    auto volumes = platform::MountedVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().mountPoint, "/");
    for (const auto& volume : volumes) {
        SCOPED_TRACE(volume.mountPoint);
        EXPECT_NE(volume.fsType, "proc");
        EXPECT_NE(volume.fsType, "sysfs");
        EXPECT_NE(volume.mountPoint.rfind("/proc/", 0), 0u);
        auto info = platform::QueryEntry(volume.mountPoint);
        if (volume.kind != VolumeKind::Network) {
            ASSERT_TRUE(info.has_value());
            EXPECT_NE(info->attributes & platform::kDirectory, 0u);
        }
    }
}

namespace {

// Volumes mounted inside a temporary tree: "Home" with "Home/ann/usb" inside
// it, "Homework" beside it, and a network volume whose mount point is gone.
class DrivesComboBox : public ::testing::Test {
protected:
    void SetUp() override {
        dir.CreateDirectory("Home/ann/usb/photos");
        dir.CreateDirectory("Home/ann/docs");
        dir.CreateDirectory("Homework");
        volumes = {
            {"/", "", "ext4", VolumeKind::Hard, "sda2"},
            {dir.Path("Home"), "Home Disk", "ext4", VolumeKind::Hard, "sda3"},
            {dir.Path("Home/ann/usb"), "Stick", "vfat", VolumeKind::Floppy},
            {dir.Path("Homework"), "", "tmpfs", VolumeKind::Ram},
            {dir.Path("gone"), "NAS", "nfs", VolumeKind::Network},
        };
        ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    }

    TDriveComboBox::VolumeSource Source() {
        return [this] {
            ++reads;
            return volumes;
        };
    }

    int IndexOf(const std::string& relative) const {
        const std::string path = relative.empty() ? "/" : dir.Path(relative);
        for (int i = 0; i < static_cast<int>(volumes.size()); ++i) {
            if (volumes[static_cast<std::size_t>(i)].mountPoint == path) return i;
        }
        return -1;
    }

    test::CurrentDirectoryGuard guard;
    test::TestDir dir;
    std::vector<Volume> volumes;
    int reads = 0;
};

std::vector<std::string> TextsOf(const TDriveComboBox& drives) {
    std::vector<std::string> texts;
    for (const auto& entry : drives.Items()) texts.push_back(entry.text);
    return texts;
}

}  // namespace

TEST_F(DrivesComboBox, EntriesShowMountPointAndLabelInTheTextCase) {
    TDriveComboBox drives(Source());
    EXPECT_EQ(drives.TextCase(), TTextCase::tcLowerCase);
    EXPECT_EQ(TextsOf(drives), (std::vector<std::string>{
                                   "/ (sda2)",
                                   dir.Path("Home") + " [home disk]",
                                   dir.Path("Home/ann/usb") + " [stick]",
                                   dir.Path("Homework"),
                                   dir.Path("gone") + " [nas]",
                               }));
    std::vector<VolumeKind> kinds;
    for (const auto& entry : drives.Items()) kinds.push_back(entry.kind);
    EXPECT_EQ(kinds,
              (std::vector<VolumeKind>{VolumeKind::Hard, VolumeKind::Hard, VolumeKind::Floppy,
                                       VolumeKind::Ram, VolumeKind::Network}));

    // The paths keep their case; only the labels change.
    drives.SetTextCase(TTextCase::tcUpperCase);
    EXPECT_EQ(drives.Items()[1].text, dir.Path("Home") + " [HOME DISK]");
    EXPECT_EQ(drives.Items()[2].text, dir.Path("Home/ann/usb") + " [STICK]");
    EXPECT_EQ(drives.Items()[1].mountPoint, dir.Path("Home"));
}

TEST_F(DrivesComboBox, StartsAtTheVolumeOfTheCurrentDirectory) {
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.Path("Home/ann/docs")).ok());
    TDriveComboBox drives(Source());
    EXPECT_EQ(drives.ItemIndex(), IndexOf("Home"));
    EXPECT_EQ(drives.Drive(), dir.Path("Home"));
}

TEST_F(DrivesComboBox, FollowsTheDirectoryListToTheVolumeThatHoldsIt) {
    TDirectoryListBox list;
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    int changes = 0;
    const Connection drivesChange = drives.OnChange.Connect([&] { ++changes; });

    struct Case {
        const char* label;
        std::string directory;
        std::string volume;  // relative mount point, "" for "/"
        int changes;         // OnChange so far
    } cases[] = {
        {"into a volume", "Home/ann", "Home", 1},
        {"deeper on the same volume", "Home/ann/docs", "Home", 1},
        {"a volume inside a volume", "Home/ann/usb/photos", "Home/ann/usb", 2},
        {"its mount point itself", "Home/ann/usb", "Home/ann/usb", 2},
        {"a name that only starts like one", "Homework", "Homework", 3},
        {"outside every volume but /", "", "", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(
            list.SetDirectory(c.directory.empty() ? dir.path() : dir.Path(c.directory)).ok());
        EXPECT_EQ(drives.ItemIndex(), IndexOf(c.volume));
        EXPECT_EQ(changes, c.changes);
    }
}

TEST_F(DrivesComboBox, ChoosingAVolumeMovesTheDirectoryList) {
    TDirectoryListBox list;
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    int changes = 0;
    const Connection drivesChange = drives.OnChange.Connect([&] {
        ++changes;
        // Listeners see the directory list already there.
        EXPECT_EQ(list.Directory(), drives.Drive());
    });

    ASSERT_TRUE(drives.Choose(IndexOf("Home/ann/usb")).ok());
    EXPECT_EQ(list.Directory(), dir.Path("Home/ann/usb"));
    EXPECT_EQ(Cwd(), dir.Path("Home/ann/usb"));
    EXPECT_EQ(drives.ItemIndex(), IndexOf("Home/ann/usb"));
    EXPECT_EQ(changes, 1);

    ASSERT_TRUE(drives.Choose(IndexOf("")).ok());
    EXPECT_EQ(list.Directory(), "/");
    EXPECT_EQ(changes, 2);
}

TEST_F(DrivesComboBox, ChoosingTheVolumeShownOrNoneChangesNothing) {
    TDirectoryListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("Home/ann/docs")).ok());
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    int changes = 0;
    const Connection drivesChange = drives.OnChange.Connect([&] { ++changes; });

    for (int index : {IndexOf("Home"), -1, static_cast<int>(volumes.size())}) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(drives.Choose(index).ok());
        EXPECT_EQ(list.Directory(), dir.Path("Home/ann/docs"));
        EXPECT_EQ(drives.ItemIndex(), IndexOf("Home"));
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(DrivesComboBox, AVolumeThatCannotBeEnteredKeepsBothListsAndReportsIt) {
    TDirectoryListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("Home/ann")).ok());
    TDriveComboBox drives(Source());
    drives.SetDirList(&list);
    const auto entriesBefore = list.Items().size();
    int changes = 0;
    const Connection drivesChange = drives.OnChange.Connect([&] { ++changes; });

    Status chosen = drives.Choose(IndexOf("gone"));
    ASSERT_FALSE(chosen.ok());
    EXPECT_NE(chosen.error().message.find(dir.Path("gone")), std::string::npos)
        << chosen.error().message;
    EXPECT_EQ(list.Directory(), dir.Path("Home/ann"));
    EXPECT_EQ(list.Items().size(), entriesBefore);
    EXPECT_EQ(Cwd(), dir.Path("Home/ann"));
    EXPECT_EQ(drives.ItemIndex(), IndexOf("Home"));
    EXPECT_EQ(changes, 0);
}

TEST_F(DrivesComboBox, WithoutADirectoryListAChoiceOnlyMovesTheList) {
    TDriveComboBox drives(Source());
    int changes = 0;
    const Connection drivesChange = drives.OnChange.Connect([&] { ++changes; });
    ASSERT_TRUE(drives.Choose(IndexOf("gone")).ok());
    EXPECT_EQ(drives.Drive(), dir.Path("gone"));
    EXPECT_EQ(Cwd(), dir.path());
    EXPECT_EQ(changes, 1);
}

TEST_F(DrivesComboBox, ANewTextCaseReadsTheVolumesAgainAndKeepsTheOneShown) {
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.Path("Homework")).ok());
    TDriveComboBox drives(Source());
    EXPECT_EQ(reads, 1);
    volumes.insert(volumes.begin() + 1, {dir.Path("Archive"), "Old", "ext4", VolumeKind::Hard});
    int redraws = 0;
    const Connection drivesItemsChange = drives.OnItemsChange.Connect([&] { ++redraws; });

    drives.SetTextCase(TTextCase::tcUpperCase);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(drives.Count(), 6);
    EXPECT_EQ(drives.Items()[1].text, dir.Path("Archive") + " [OLD]");
    EXPECT_EQ(drives.Drive(), dir.Path("Homework"));
    EXPECT_GE(redraws, 1);

    // The volume shown went away: the one holding the directory takes over.
    volumes.erase(volumes.begin() + IndexOf("Homework"));
    drives.SetTextCase(TTextCase::tcLowerCase);
    EXPECT_EQ(drives.Drive(), "/");
}

TEST_F(DrivesComboBox, LinksClearWhicheverSideGoesFirst) {
    auto drives = std::make_unique<TDriveComboBox>(Source());
    {
        TDirectoryListBox list;
        drives->SetDirList(&list);
        EXPECT_EQ(drives->DirList(), &list);
    }
    EXPECT_EQ(drives->DirList(), nullptr);
    drives->Follow();  // falls back to the process's directory
    EXPECT_EQ(drives->Drive(), "/");

    TDirectoryListBox list;
    drives->SetDirList(&list);
    drives.reset();
    // The directory list still notifies; nothing of the drive list is left.
    EXPECT_TRUE(list.SetDirectory(dir.Path("Home")).ok());

    // Relinking leaves the former list without influence.
    TDirectoryListBox first;
    TDirectoryListBox second;
    TDriveComboBox relinked(Source());
    relinked.SetDirList(&first);
    relinked.SetDirList(&second);
    ASSERT_TRUE(first.SetDirectory(dir.Path("Homework")).ok());
    ASSERT_TRUE(second.SetDirectory(dir.Path("Home/ann/usb")).ok());
    ASSERT_TRUE(first.SetDirectory(dir.Path("Home")).ok());
    EXPECT_EQ(relinked.Drive(), dir.Path("Home/ann/usb"));
}
