#include "sync/FmxUtils.h"
#include "platform/PendingFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <vector>

#include "platform/FileSystem.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"
#include "sync/FmxUtilsDetail.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

const std::string kNotCopied = ".  File not copied!";

std::string Pattern(std::size_t length) {
    std::string data(length, '\0');
    for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<char>((i * 131 + i / 7) % 251);
    return data;
}

// Every name in `dir`, hidden ones included, sorted.
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string CreateFailure(const std::string& target) {
    return "Could not create destination file: " + target + kNotCopied;
}

class BufferedCopy : public ::testing::Test {
protected:
    // Copies through the real reader, but notes the size of every buffer
    // offered and the bytes each read brought.
    bool CopyRecording(const std::string& source, const std::string& destination,
                       std::int32_t bufferSize) {
        return test::Shown(
            detail::BufferedCopyFileWith(source, destination, bufferSize,
                                         [this](platform::File& file, std::span<char> buffer) {
                                             offered.push_back(buffer.size());
                                             auto got = file.Read(buffer);
                                             if (got) reads.push_back(got.value());
                                             return got;
                                         }),
            desktop);
    }

    test::TestDir dir;
    test::ScriptedDesktop desktop;
    std::vector<std::size_t> offered;
    std::vector<std::size_t> reads;
};

TEST_F(BufferedCopy, ReadsUntilAnEmptyReadAtEveryLength) {
    struct Case {
        const char* name;
        std::size_t length;
        std::int32_t bufferSize;
        std::size_t expectedBuffer;
        std::vector<std::size_t> expectedReads;
    };
    const std::vector<Case> cases = {
        {"empty source", 0, 32768, 32768, {0}},
        {"exactly one buffer", 32768, 32768, 32768, {32768, 0}},
        {"one byte more", 32769, 32768, 32768, {32768, 1, 0}},
        {"tiny buffer", 23, 7, 7, {7, 7, 7, 2, 0}},
        {"zero buffer size", 40000, 0, 32768, {32768, 40000 - 32768, 0}},
        {"negative buffer size", 10, -4096, 32768, {10, 0}},
    };
    const std::int64_t stamp = test::LocalTime(2021, 3, 4, 5, 6, 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        offered.clear();
        reads.clear();
        test::TestDir tree;
        std::string data = Pattern(c.length);
        std::string source = tree.CreateFile("src/file.bin", data, stamp);
        tree.CreateDirectory("dst");

        EXPECT_TRUE(CopyRecording(source, tree.Path("dst"), c.bufferSize));
        EXPECT_EQ(reads, c.expectedReads);
        ASSERT_FALSE(offered.empty());
        EXPECT_EQ(offered.front(), c.expectedBuffer);
        EXPECT_EQ(tree.ReadFile("dst/file.bin"), data);
        EXPECT_EQ(tree.Modified("dst/file.bin"), stamp);
        EXPECT_EQ(Names(tree.Path("dst")), std::vector<std::string>{"file.bin"});
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BufferedCopy, CopiesALargeFileThroughTheRealReader) {
    std::string data = Pattern(1'000'003);
    std::string source = dir.CreateFile("big.bin", data);
    dir.CreateDirectory("out");

    EXPECT_TRUE(test::Shown(BufferedCopyFile(source, dir.Path("out"), 131072), desktop));
    EXPECT_EQ(dir.ReadFile("out/big.bin"), data);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BufferedCopy, ReplacesAnOlderTargetWithNormalAttributes) {
    std::string source = dir.CreateFile("src/report.txt", "new text", test::LocalTime(2024, 1, 2));
    ASSERT_EQ(chmod(source.c_str(), 0400), 0);
    dir.CreateFile("dst/report.txt", "old text that was longer", test::LocalTime(2020, 1, 2));

    EXPECT_TRUE(
        test::Shown(BufferedCopyFile(source, dir.Path("dst"), kDefaultCopyBufferSize), desktop));
    EXPECT_EQ(dir.ReadFile("dst/report.txt"), "new text");
    EXPECT_EQ(dir.Modified("dst/report.txt"), test::LocalTime(2024, 1, 2));
    EXPECT_FALSE(HasAttributes(dir.Path("dst/report.txt"), platform::kReadOnly));
    EXPECT_EQ(Names(dir.Path("dst")), std::vector<std::string>{"report.txt"});
}

TEST_F(BufferedCopy, CarriesTheExactTimeAndComparesByTheEvenSecond) {
    const std::int64_t odd = test::LocalTime(2023, 6, 15, 10, 30, 41);
    std::string source = dir.CreateFile("src/a.txt", "abc", odd);
    const timespec exact[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(odd), 759000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), exact, 0), 0);
    dir.CreateDirectory("dst");

    ASSERT_TRUE(
        test::Shown(BufferedCopyFile(source, dir.Path("dst"), kDefaultCopyBufferSize), desktop));
    struct stat copied {};
    ASSERT_EQ(stat(dir.Path("dst/a.txt").c_str(), &copied), 0);
    EXPECT_EQ(copied.st_mtim.tv_sec, odd);
    EXPECT_EQ(copied.st_mtim.tv_nsec, 759000000);
    EXPECT_EQ(SourceStamp(dir.Path("dst/a.txt")), SourceStamp(source));
    // The copy decision then sees the pair as the same.
    EXPECT_FALSE(DestinationStamp(dir.Path("dst/a.txt")) < SourceStamp(source));
}

TEST_F(BufferedCopy, CarriesTheExactTimeOfASourceWithoutStamp) {
    const std::int64_t old = test::LocalTime(1975, 5, 6, 7, 8, 9);
    std::string source = dir.CreateFile("src/old.txt", "x", old);
    dir.CreateDirectory("dst");

    ASSERT_TRUE(
        test::Shown(BufferedCopyFile(source, dir.Path("dst"), kDefaultCopyBufferSize), desktop));
    EXPECT_EQ(dir.Modified("dst/old.txt"), old);
}

TEST_F(BufferedCopy, RefusesTargetsItMayNotReplace) {
    struct Case {
        const char* name;
        std::function<void(test::TestDir&)> arrange;
        std::function<void(const test::TestDir&)> check;
    };
    const std::vector<Case> cases = {
        {"read-only file",
         [](test::TestDir& t) {
             t.CreateFile("dst/f.txt", "kept");
             t.MakeReadOnly("dst/f.txt");
         },
         [](const test::TestDir& t) { EXPECT_EQ(t.ReadFile("dst/f.txt"), "kept"); }},
        {"directory", [](test::TestDir& t) { t.CreateFile("dst/f.txt/inner", "inside"); },
         [](const test::TestDir& t) { EXPECT_EQ(t.ReadFile("dst/f.txt/inner"), "inside"); }},
        {"link to a file",
         [](test::TestDir& t) {
             t.CreateFile("elsewhere.txt", "linked");
             t.CreateDirectory("dst");
             fs::create_symlink(t.Path("elsewhere.txt"), t.Path("dst/f.txt"));
         },
         [](const test::TestDir& t) {
             EXPECT_TRUE(fs::is_symlink(t.Path("dst/f.txt")));
             EXPECT_EQ(t.ReadFile("elsewhere.txt"), "linked");
         }},
        {"dangling link",
         [](test::TestDir& t) {
             t.CreateDirectory("dst");
             fs::create_symlink(t.Path("nowhere"), t.Path("dst/f.txt"));
         },
         [](const test::TestDir& t) {
             EXPECT_TRUE(fs::is_symlink(t.Path("dst/f.txt")));
             EXPECT_FALSE(t.Exists("nowhere"));
         }},
        {"fifo",
         [](test::TestDir& t) {
             t.CreateDirectory("dst");
             ASSERT_EQ(mkfifo(t.Path("dst/f.txt").c_str(), 0644), 0);
         },
         [](const test::TestDir& t) { EXPECT_TRUE(fs::is_fifo(t.Path("dst/f.txt"))); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestDir tree;
        test::ScriptedDesktop seen;
        std::string source = tree.CreateFile("src/f.txt", "fresh");
        c.arrange(tree);

        EXPECT_FALSE(
            test::Shown(BufferedCopyFile(source, tree.Path("dst"), kDefaultCopyBufferSize), seen));
        EXPECT_EQ(seen.Texts(), std::vector<std::string>{CreateFailure(tree.Path("dst/f.txt"))});
        ASSERT_EQ(seen.boxes.size(), 1u);
        EXPECT_EQ(seen.boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(seen.boxes[0].caption, kAppTitle);
        EXPECT_EQ(Names(tree.Path("dst")), std::vector<std::string>{"f.txt"});
        c.check(tree);
    }
}

TEST_F(BufferedCopy, ReportsAMissingDestinationDirectory) {
    std::string source = dir.CreateFile("a.txt", "abc");

    EXPECT_FALSE(test::Shown(BufferedCopyFile(source, dir.Path("missing"), kDefaultCopyBufferSize),
                             desktop));
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{CreateFailure(dir.Path("missing/a.txt"))});
    EXPECT_FALSE(dir.Exists("missing"));
}

TEST_F(BufferedCopy, ReportsASourceItCannotOpenAndCreatesNothing) {
    dir.CreateDirectory("dst");
    dir.CreateDirectory("src/folder");
    const std::vector<std::string> sources = {dir.Path("src/missing.txt"), dir.Path("src/folder"),
                                              "relative/missing.txt"};
    for (const auto& source : sources) {
        SCOPED_TRACE(source);
        test::ScriptedDesktop seen;
        EXPECT_FALSE(
            test::Shown(BufferedCopyFile(source, dir.Path("dst"), kDefaultCopyBufferSize), seen));
        EXPECT_EQ(seen.Texts(),
                  std::vector<std::string>{"Could not open file: " + source + kNotCopied});
        EXPECT_TRUE(Names(dir.Path("dst")).empty());
    }
}

TEST_F(BufferedCopy, BuildsTheTargetFromAFullDestinationPath) {
    test::CurrentDirectoryGuard guard;
    dir.CreateFile("src/a.txt", "abc");
    dir.CreateDirectory("out");
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()));

    EXPECT_TRUE(test::Shown(BufferedCopyFile("src/a.txt", "out", kDefaultCopyBufferSize), desktop));
    EXPECT_EQ(dir.ReadFile("out/a.txt"), "abc");

    struct Case {
        const char* name;
        std::string destination;
        std::string target;
    };
    const std::vector<Case> cases = {
        {"relative", "gone", dir.Path("gone/a.txt")},
        {"dot segments", "./out/../gone/.", dir.Path("gone/a.txt")},
        {"trailing separator", dir.Path("gone") + "/", dir.Path("gone/a.txt")},
        {"doubled separators", dir.Path("") + "//gone", dir.Path("gone/a.txt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedDesktop seen;
        EXPECT_FALSE(test::Shown(
            BufferedCopyFile("src/a.txt", c.destination, kDefaultCopyBufferSize), seen));
        EXPECT_EQ(seen.Texts(), std::vector<std::string>{CreateFailure(c.target)});
    }
}

TEST_F(BufferedCopy, KeepsTheRootsSingleSeparator) {
    // "/proc" is a directory, so the copy is refused before anything is written.
    std::string source = dir.CreateFile("proc", "not a directory");

    EXPECT_FALSE(test::Shown(BufferedCopyFile(source, "/", kDefaultCopyBufferSize), desktop));
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{CreateFailure("/proc")});
}

// A small tmpfs mounted inside the test directory for as long as the guard
// lives; only root may mount, so `mounted` tells whether the test can run.
class SmallVolume {
public:
    explicit SmallVolume(const std::string& path) : path_(path) {
        std::string command = "mount -t tmpfs -o size=64k tmpfs '" + path + "' 2>/dev/null";
        mounted = std::system(command.c_str()) == 0;
    }
    ~SmallVolume() {
        if (mounted) std::system(("umount '" + path_ + "'").c_str());
    }
    bool mounted = false;

private:
    std::string path_;
};

TEST_F(BufferedCopy, ReportsAFullDiskAndKeepsTheOldTarget) {
    std::string source = dir.CreateFile("src/big.bin", Pattern(200'000));
    std::string volume = dir.CreateDirectory("full");
    SmallVolume small(volume);
    if (!small.mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
    dir.CreateFile("full/big.bin", "old");

    EXPECT_FALSE(test::Shown(BufferedCopyFile(source, volume, kDefaultCopyBufferSize), desktop));
    EXPECT_EQ(desktop.Texts(),
              std::vector<std::string>{"Error writing destination file: " + volume + "/big.bin" +
                                       kNotCopied + " Possibly out of disk space."});
    EXPECT_EQ(dir.ReadFile("full/big.bin"), "old");
    EXPECT_EQ(Names(volume), std::vector<std::string>{"big.bin"});
}

// A file of 1 GiB that holds a few blocks is copied with its holes (at the
// start, between and after), by the kernel and through the buffer.
TEST_F(BufferedCopy, SparseFilesStaySparse) {
    constexpr off_t kSize = off_t{1} << 30;
    const std::vector<off_t> blocks = {12288, kSize / 2, kSize - 4101};
    const std::string source = dir.CreateFile("src/sparse.bin");
    ASSERT_EQ(truncate(source.c_str(), kSize), 0);
    const int in = open(source.c_str(), O_WRONLY);
    for (off_t at : blocks) ASSERT_EQ(pwrite(in, "block", 5, at), 5);
    close(in);
    SmallVolume other(dir.CreateDirectory("other"));  // another volume, when root
    for (const std::string target : {"same", "other"}) {
        if (target == "other" && !other.mounted) continue;
        ASSERT_TRUE(
            test::Shown(BufferedCopyFile(source, dir.CreateDirectory(target), 4096), desktop));
        const int out = open(dir.Path(target + "/sparse.bin").c_str(), O_RDONLY);
        struct stat st {};
        ASSERT_EQ(fstat(out, &st), 0);
        EXPECT_EQ(st.st_size, kSize);
        EXPECT_LE(st.st_blocks * 512, 64 * 1024) << target;
        char got[5];
        for (off_t at : blocks)
            EXPECT_TRUE(pread(out, got, 5, at) == 5 && !memcmp(got, "block", 5));
        close(out);
    }
}

TEST_F(BufferedCopy, ReportsAReadFailurePartWayThrough) {
    // Through an unnamed temporary and through a named one: nothing is left.
    for (bool named : {false, true}) {
        platform::UseNamedTemporaries(named);
        desktop.boxes.clear();
        std::string source = dir.CreateFile("src/data.bin", Pattern(100));
        dir.CreateFile("dst/data.bin", "previous", test::LocalTime(2019, 1, 1));
        int calls = 0;

        EXPECT_FALSE(test::Shown(
            detail::BufferedCopyFileWith(
                source, dir.Path("dst"), 16,
                [&calls](platform::File& file, std::span<char> buffer) -> Result<std::size_t> {
                    if (++calls == 3) return Error{"Input/output error", 5};
                    return file.Read(buffer);
                }),
            desktop));
        EXPECT_EQ(desktop.Texts(),
                  std::vector<std::string>{"Error reading source file: " + source + kNotCopied});
        EXPECT_EQ(dir.ReadFile("dst/data.bin"), "previous");
        EXPECT_EQ(dir.Modified("dst/data.bin"), test::LocalTime(2019, 1, 1));
        EXPECT_EQ(Names(dir.Path("dst")), std::vector<std::string>{"data.bin"});
    }
    platform::UseNamedTemporaries(false);
}

TEST_F(BufferedCopy, ReportsARealReadError) {
    // Reading the process's own memory at address 0 fails with an I/O error.
    dir.CreateDirectory("dst");

    EXPECT_FALSE(test::Shown(BufferedCopyFile("/proc/self/mem", dir.Path("dst"), 4096), desktop));
    EXPECT_EQ(desktop.Texts(),
              std::vector<std::string>{"Error reading source file: /proc/self/mem" + kNotCopied});
    EXPECT_TRUE(Names(dir.Path("dst")).empty());
}

TEST(FileQueries, QueryFileSizeGivesTheLow32Bits) {
    test::TestDir dir;
    test::CurrentDirectoryGuard guard;
    dir.CreateFile("five.txt", "12345");
    dir.CreateDirectory("sub");
    std::string huge = dir.CreateFile("huge.bin");
    fs::resize_file(huge, (std::uintmax_t{1} << 32) + 3);  // sparse
    std::string large = dir.CreateFile("large.bin");
    fs::resize_file(large, std::uintmax_t{3} << 30);
    struct stat st {};
    ASSERT_EQ(stat(dir.Path("sub").c_str(), &st), 0);

    EXPECT_EQ(QueryFileSize(dir.Path("missing")), -1);
    EXPECT_EQ(QueryFileSize(dir.Path("five.txt")), 5);
    EXPECT_EQ(QueryFileSize(dir.Path("sub")), static_cast<std::int32_t>(st.st_size));
    EXPECT_EQ(QueryFileSize(huge), 3);
    EXPECT_EQ(QueryFileSize(large), static_cast<std::int32_t>(0xC0000000u));
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.Path("sub")));
    EXPECT_EQ(QueryFileSize("../five.txt"), 5);
}

TEST(FileQueries, AttributeTestTreatsAMissingPathAsEveryBitSet) {
    test::TestDir dir;
    dir.CreateFile("plain.txt");
    dir.CreateFile("locked.txt");
    dir.MakeReadOnly("locked.txt");
    dir.CreateDirectory("sub");
    const std::string missing = dir.Path("missing");

    EXPECT_EQ(FileAttributes(missing), platform::kNoEntryAttributes);
    EXPECT_TRUE(HasAttributes(missing, platform::kDirectory));
    EXPECT_TRUE(HasAttributes(missing, platform::kReadOnly | platform::kHidden));
    EXPECT_TRUE(HasAttributes(missing, platform::kNoEntryAttributes));

    EXPECT_FALSE(HasAttributes(dir.Path("plain.txt"), platform::kDirectory));
    EXPECT_TRUE(HasAttributes(dir.Path("plain.txt"), 0));
    EXPECT_TRUE(HasAttributes(dir.Path("locked.txt"), platform::kReadOnly));
    EXPECT_FALSE(HasAttributes(dir.Path("locked.txt"), platform::kReadOnly | platform::kDirectory));
    EXPECT_TRUE(HasAttributes(dir.Path("sub"), platform::kDirectory));
}

TEST(FileQueries, StampsForTheCopyDecision) {
    test::TestDir dir;
    const std::int64_t when = test::LocalTime(2023, 6, 15, 10, 30, 40);
    const auto packed = static_cast<std::int64_t>(*platform::PackLocalTime(when));
    const auto late =
        static_cast<std::int64_t>(*platform::PackLocalTime(test::LocalTime(2050, 1, 1)));
    constexpr auto kNewest = std::numeric_limits<std::int64_t>::max();

    struct Case {
        const char* name;
        std::string path;
        std::int64_t source;
        std::int64_t destination;
    };
    dir.CreateFile("file.txt", "", when);
    dir.CreateDirectory("folder");
    dir.SetModified("folder", when);
    dir.CreateFile("locked.txt", "", when);
    dir.MakeReadOnly("locked.txt");
    dir.CreateFile("ancient.txt", "", test::LocalTime(1979, 12, 31, 23, 59, 58));
    dir.CreateFile("future.txt", "", test::LocalTime(2050, 1, 1));
    dir.CreateFile("beyond.txt", "", test::LocalTime(2110, 1, 1));
    const std::vector<Case> cases = {
        {"nothing there", dir.Path("missing"), -1, 0},
        {"file", dir.Path("file.txt"), packed, packed},
        {"read-only file", dir.Path("locked.txt"), packed, packed},
        {"directory", dir.Path("folder"), -1, packed},
        {"before 1980", dir.Path("ancient.txt"), -1, 0},
        {"2050", dir.Path("future.txt"), late, late},
        {"after 2107", dir.Path("beyond.txt"), -1, kNewest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SourceStamp(c.path), c.source);
        EXPECT_EQ(DestinationStamp(c.path), c.destination);
    }
    // Stamps from 2044 on set the top bit and still order after earlier ones.
    EXPECT_GT(late, std::int64_t{0x7FFFFFFF});
    EXPECT_LT(DestinationStamp(dir.Path("file.txt")), SourceStamp(dir.Path("future.txt")));
    EXPECT_LT(DestinationStamp(dir.Path("ancient.txt")), SourceStamp(dir.Path("file.txt")));
}

}  // namespace
