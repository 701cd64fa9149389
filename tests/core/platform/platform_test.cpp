#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/DirectoryHandle.h"
#include "platform/FileSystem.h"
#include "platform/PendingFile.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;
using namespace twinfold::platform;

namespace {

const DirEntry* Find(const std::vector<DirEntry>& entries, const std::string& name) {
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const DirEntry& e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

}  // namespace

TEST(Platform, DirectorySearchMapsKindsToAttributes) {
    test::TestDir dir;
    dir.CreateFile("plain.txt", "abc");
    dir.CreateFile(".hidden");
    dir.CreateFile("locked.txt");
    dir.MakeReadOnly("locked.txt");
    dir.CreateDirectory("sub");
    dir.CreateDirectory("outside/target");
    fs::create_symlink(dir.Path("plain.txt"), dir.Path("to-file"));
    fs::create_directory_symlink(dir.Path("outside"), dir.Path("to-dir"));
    fs::create_symlink(dir.Path("nowhere"), dir.Path("dangling"));
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0644), 0);

    auto entries = ReadDirectory(dir.path());
    ASSERT_TRUE(entries.ok());
    const auto& list = entries.value();

    ASSERT_NE(Find(list, "plain.txt"), nullptr);
    EXPECT_EQ(Find(list, "plain.txt")->attributes, 0u);
    EXPECT_EQ(Find(list, "plain.txt")->size, 3u);
    EXPECT_EQ(Find(list, ".hidden")->attributes, std::uint32_t{kHidden});
    EXPECT_EQ(Find(list, "locked.txt")->attributes, std::uint32_t{kReadOnly});
    EXPECT_EQ(Find(list, "sub")->attributes, std::uint32_t{kDirectory});
    ASSERT_NE(Find(list, "to-file"), nullptr);
    EXPECT_EQ(Find(list, "to-file")->size, 3u);
    EXPECT_NE(Find(list, "."), nullptr);
    EXPECT_NE(Find(list, ".."), nullptr);
    EXPECT_EQ(Find(list, ".")->attributes & kHidden, 0u);
    EXPECT_EQ(Find(list, "to-dir"), nullptr);
    EXPECT_EQ(Find(list, "dangling"), nullptr);
    EXPECT_EQ(Find(list, "pipe"), nullptr);

    EXPECT_FALSE(ReadDirectory(dir.Path("missing")).ok());
    EXPECT_FALSE(QueryEntry(dir.Path("pipe")).has_value());
    EXPECT_FALSE(QueryEntry(dir.Path("dangling")).has_value());
}

TEST(Platform, PackedStampsRoundTripAtTwoSecondResolution) {
    std::int64_t odd = test::LocalTime(2023, 6, 15, 10, 30, 41);
    auto packed = PackLocalTime(odd);
    ASSERT_TRUE(packed.has_value());
    EXPECT_EQ(*packed >> 25, 2023u - 1980u);
    EXPECT_EQ((*packed >> 21) & 0xF, 6u);
    EXPECT_EQ((*packed >> 16) & 0x1F, 15u);
    EXPECT_EQ((*packed >> 11) & 0x1F, 10u);
    EXPECT_EQ((*packed >> 5) & 0x3F, 30u);
    EXPECT_EQ(*packed & 0x1F, 20u);
    EXPECT_EQ(UnpackLocalTime(*packed), odd - 1);

    EXPECT_FALSE(PackLocalTime(test::LocalTime(1979, 12, 31)).has_value());
    EXPECT_TRUE(PackLocalTime(test::LocalTime(1980, 1, 1, 0, 0, 0)).has_value());
    // 2044 and later set the top bit and must still order above earlier years.
    auto late = PackLocalTime(test::LocalTime(2050, 1, 1));
    ASSERT_TRUE(late.has_value());
    EXPECT_GT(*late, *packed);
    EXPECT_GE(*late, 0x80000000u);
}

TEST(Platform, PendingFilesAppearOnlyWhenCommittedAndMovesRefuseToReplace) {
    test::TestDir dir;
    auto handle = DirectoryHandle::Open(dir.path());
    ASSERT_TRUE(handle.ok());
    {
        auto pending = PendingFile::Create(handle.value(), 0644);
        ASSERT_TRUE(pending.ok());
        ASSERT_TRUE(pending.value().file().Write(std::string("hello")).ok());
        EXPECT_TRUE(fs::is_empty(dir.path())) << "visible before it is complete";
        ASSERT_TRUE(pending.value().Commit("report.txt", PendingFile::Placement::New).ok());
    }
    EXPECT_EQ(dir.ReadFile("report.txt"), "hello");
    {
        auto again = PendingFile::Create(handle.value(), 0644);
        ASSERT_TRUE(again.ok());
        auto refused = again.value().Commit("report.txt", PendingFile::Placement::New);
        EXPECT_EQ(refused.error().code, EEXIST);
        auto dropped = PendingFile::Create(handle.value(), 0644);
        ASSERT_TRUE(dropped.ok());
        ASSERT_TRUE(dropped.value().file().Write(std::string("never")).ok());
    }
    EXPECT_EQ(dir.ReadFile("report.txt"), "hello");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "an uncommitted or refused file leaves nothing behind";

    dir.CreateFile("other.txt", "other");
    auto moved = MoveEntry(dir.Path("other.txt"), dir.Path("report.txt"));
    EXPECT_FALSE(moved.ok());
    EXPECT_EQ(dir.ReadFile("report.txt"), "hello");
    EXPECT_TRUE(MoveEntry(dir.Path("other.txt"), dir.Path("new.txt")).ok());
    EXPECT_EQ(dir.ReadFile("new.txt"), "other");
}

namespace twinfold::platform {
namespace {

// The files a person names are read without waiting and only when they are
// small regular files; anything else is an error, never a hang.
TEST(NamedFiles, OnlySmallRegularFilesAreRead) {
    test::TestDir dir;
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0644), 0);
    dir.CreateFile("big", std::string(2000, 'x'));
    dir.CreateDirectory("folder");
    struct Case {
        const char* name;
        std::string path;
        int error;
    };
    const std::vector<Case> cases = {
        {"fifo", dir.Path("pipe"), EINVAL},         {"directory", dir.Path("folder"), EISDIR},
        {"over the limit", dir.Path("big"), EFBIG}, {"missing", dir.Path("none"), ENOENT},
        {"character device", "/dev/zero", EINVAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto read = ReadNamedFile(c.path, 1000);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().code, c.error);
    }
    EXPECT_EQ(ReadNamedFile(dir.Path("big"), 2000).value(), std::string(2000, 'x'));
}

// A replaced file keeps its bits and its links; what may not be replaced is
// left exactly as it was, and no temporary stays behind.
TEST(NamedFiles, ReplacingKeepsPermissionsAndLinksAndRefusesWhatItMayNot) {
    test::TestDir dir;
    dir.CreateFile("real.ini", "old");
    ASSERT_EQ(chmod(dir.Path("real.ini").c_str(), 0640), 0);
    fs::create_symlink("real.ini", dir.Path("link.ini"));

    ASSERT_TRUE(ReplaceNamedFile(dir.Path("link.ini"), "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.ini")));
    EXPECT_EQ(dir.ReadFile("real.ini"), "new");
    struct stat st {};
    ASSERT_EQ(stat(dir.Path("real.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    dir.CreateFile("locked.ini", "keep");
    dir.MakeReadOnly("locked.ini");
    ASSERT_EQ(mkfifo(dir.Path("pipe.ini").c_str(), 0644), 0);
    dir.CreateDirectory("folder.ini");
    for (const char* name : {"locked.ini", "pipe.ini", "folder.ini"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReplaceNamedFile(dir.Path(name), "lost").ok());
    }
    EXPECT_EQ(dir.ReadFile("locked.ini"), "keep");
    EXPECT_TRUE(fs::is_fifo(dir.Path("pipe.ini")));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.ini", "link.ini", "locked.ini", "pipe.ini",
                                               "real.ini"}));
}

// Someone else's link in a sticky, world-writable directory is the one that
// is not followed.
TEST(NamedFiles, LinksInSharedDirectoriesAreFollowedOnlyAsTheKernelWould) {
    constexpr std::uint32_t me = 1000, other = 1001, owner = 1002;
    EXPECT_FALSE(MayFollowLink(me, other, 01777, owner));
    EXPECT_TRUE(MayFollowLink(me, me, 01777, owner));
    EXPECT_TRUE(MayFollowLink(me, owner, 01777, owner));
    EXPECT_TRUE(MayFollowLink(me, other, 0777, owner));   // not sticky
    EXPECT_TRUE(MayFollowLink(me, other, 01775, owner));  // not world-writable
    EXPECT_FALSE(MayFollowLink(0, other, 01777, owner));  // root too
}

// Unpacking gives back the time that packs to the same stamp, on both sides
// of a change to and from daylight saving time.
TEST(Platform, UnpackingIsTheInverseOfPackingAllYear) {
    // A zone with daylight saving time, given by its rule so no zone file
    // is needed; put back afterwards.
    const char* former = std::getenv("TZ");
    const std::string saved = former ? former : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    for (int month = 1; month <= 12; ++month) {
        for (int day : {1, 15, 27, 31}) {
            for (int hour : {0, 2, 3, 12, 23}) {
                const std::int64_t time = test::LocalTime(2024, month, day, hour, 30, 18);
                auto packed = PackLocalTime(time);
                ASSERT_TRUE(packed.has_value());
                EXPECT_EQ(PackLocalTime(UnpackLocalTime(*packed)), packed)
                    << month << "/" << day << " " << hour;
            }
        }
    }
    if (former) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace twinfold::platform
