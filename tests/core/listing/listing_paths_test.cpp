#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listing/Paths.h"
#include "platform/FileSystem.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

int Bytes(const std::string& text) { return static_cast<int>(text.size()); }

std::string Cwd() { return platform::CurrentDirectory().value(); }

}  // namespace

TEST(ListingPaths, JoinAndTakeApart) {
    EXPECT_EQ(JoinPath("/", "A"), "/A");
    EXPECT_EQ(JoinPath("/data", "A"), "/data/A");
    EXPECT_EQ(JoinPath("/data/", "A"), "/data/A");
    EXPECT_EQ(JoinPath("/data", "[sub]"), "/data/[sub]");

    EXPECT_EQ(ExtractFileName("/data/work/report.doc"), "report.doc");
    EXPECT_EQ(ExtractFilePath("/data/work/report.doc"), "/data/work/");
    EXPECT_EQ(ExtractFileName("/data/"), "");
    EXPECT_EQ(ExtractFilePath("/data/"), "/data/");
    EXPECT_EQ(ExtractFileName("/"), "");
    EXPECT_EQ(ExtractFilePath("/"), "/");
    EXPECT_EQ(ExtractFileName("bare"), "bare");
    EXPECT_EQ(ExtractFilePath("bare"), "");
}

TEST(ListingPaths, IsDirectoryFollowsLinksAndRejectsFiles) {
    test::TestDir dir;
    dir.CreateDirectory("sub");
    dir.CreateFile("file.txt");
    fs::create_directory_symlink(dir.Path("sub"), dir.Path("to-sub"));
    EXPECT_TRUE(IsDirectory(dir.path()));
    EXPECT_TRUE(IsDirectory(dir.Path("sub")));
    EXPECT_TRUE(IsDirectory(dir.Path("to-sub")));
    EXPECT_TRUE(IsDirectory("/"));
    EXPECT_FALSE(IsDirectory(dir.Path("file.txt")));
    EXPECT_FALSE(IsDirectory(dir.Path("missing")));
    EXPECT_FALSE(IsDirectory(""));
}

TEST(ListingPaths, MakeDirectoryPathCreatesWhatIsMissing) {
    test::TestDir dir;
    ASSERT_TRUE(MakeDirectoryPath(dir.Path("a/b/c")).ok());
    EXPECT_TRUE(IsDirectory(dir.Path("a/b/c")));

    ASSERT_TRUE(MakeDirectoryPath(dir.Path("new") + "/").ok());
    EXPECT_TRUE(IsDirectory(dir.Path("new")));

    EXPECT_TRUE(MakeDirectoryPath(dir.Path("a/b")).ok()) << "an existing directory is fine";
    EXPECT_TRUE(MakeDirectoryPath("/").ok());
}

TEST(ListingPaths, MakeDirectoryPathReportsOnlyPathsThatLeadNowhere) {
    test::TestDir dir;
    test::CurrentDirectoryGuard guard;
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());

    auto empty = MakeDirectoryPath("");
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error().message, "Unable to create directory");

    auto bare = MakeDirectoryPath("NEW");
    ASSERT_FALSE(bare.ok());
    EXPECT_EQ(bare.error().message, "Unable to create directory");
    EXPECT_FALSE(dir.Exists("NEW"));

    dir.CreateDirectory("there");
    EXPECT_TRUE(MakeDirectoryPath("there").ok()) << "an existing bare name needs nothing";

    // Creation failures are not reported: a file stands in the way.
    dir.CreateFile("file.txt");
    EXPECT_TRUE(MakeDirectoryPath(dir.Path("file.txt/sub")).ok());
    EXPECT_FALSE(IsDirectory(dir.Path("file.txt/sub")));
}

TEST(ListingPaths, FitPathToWidthDropsLeadingDirectoriesOneByOne) {
    const std::string path = "/data/projects/work";
    struct Case {
        int width;
        const char* expected;
    } cases[] = {
        {100, "/data/projects/work"},
        {19, "/data/projects/work"},
        {18, "/.../projects/work"},
        {10, "/.../work"},
        {9, "/.../work"},
        {8, ".../work"},
        {7, "work"},
        {4, "work"},
        {1, "work"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("width " + std::to_string(c.width));
        EXPECT_EQ(FitPathToWidth(path, Bytes, c.width), c.expected);
    }
}

TEST(ListingPaths, FitPathToWidthEdgeCases) {
    EXPECT_EQ(FitPathToWidth("/", Bytes, 10), "/");
    EXPECT_EQ(FitPathToWidth("/a", Bytes, 0), "a");
    EXPECT_EQ(FitPathToWidth("work", Bytes, 0), "work");
    // A hidden directory is a name like any other, not a "..." marker.
    EXPECT_EQ(FitPathToWidth("/.cfg/ab/x", Bytes, 9), "/.../ab/x");
    EXPECT_EQ(FitPathToWidth("/.cfg/ab/x", Bytes, 8), "/.../x");
    // A measure in pixels: 7 per byte.
    auto pixels = [](const std::string& text) { return 7 * static_cast<int>(text.size()); };
    EXPECT_EQ(FitPathToWidth(std::string("/data/projects/work"), pixels, 70), "/.../work");
}

TEST(ListingPaths, SplitPathInputFindsDirectoryAndFilePart) {
    test::TestDir dir;
    test::CurrentDirectoryGuard guard;
    dir.CreateFile("data/report.doc");
    dir.CreateFile("data/sub/inner.txt");
    dir.CreateFile("top.txt");
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    const std::string data = dir.Path("data");

    struct Case {
        const char* label;
        std::string text;
        std::string directory;
        std::string file;
    } cases[] = {
        {"existing file", data + "/report.doc", data, "report.doc"},
        {"pattern", data + "/*.doc", data, "*.doc"},
        {"single-character pattern", data + "/report.?oc", data, "report.?oc"},
        {"trailing separator", data + "/", data, ""},
        {"directory without separator", data, data, ""},
        {"nested directory", data + "/sub", data + "/sub", ""},
        {"root", "/", "/", ""},
        {"bare directory name", "data", data, ""},
        {"bare file name", "top.txt", dir.path(), "top.txt"},
        {"relative file", "data/report.doc", data, "report.doc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto split = SplitPathInput(c.text);
        ASSERT_TRUE(split.ok()) << split.error().message;
        EXPECT_EQ(split.value().directory, c.directory);
        EXPECT_EQ(split.value().file, c.file);
        EXPECT_EQ(Cwd(), dir.path()) << "the current directory is left alone";
    }
}

TEST(ListingPaths, SplitPathInputNamesTheDirectoryItCannotEnter) {
    test::TestDir dir;
    test::CurrentDirectoryGuard guard;
    dir.CreateFile("data/report.doc");
    dir.CreateFile("plain.txt");
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.Path("data")).ok());

    struct Case {
        const char* label;
        std::string text;
        std::string message;
    } cases[] = {
        {"missing last name", dir.Path("data/nosuch"),
         "Cannot open directory " + dir.Path("data/nosuch") + ": No such file or directory"},
        {"missing parent", dir.Path("nosuch/report.doc"),
         "Cannot open directory " + dir.Path("nosuch") + ": No such file or directory"},
        {"file as a directory", dir.Path("plain.txt/x"),
         "Cannot open directory " + dir.Path("plain.txt") + ": Not a directory"},
        {"missing bare name", "nosuch",
         "Cannot open directory " + dir.Path("data/nosuch") + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto split = SplitPathInput(c.text);
        ASSERT_FALSE(split.ok());
        EXPECT_EQ(split.error().message, c.message);
        EXPECT_EQ(Cwd(), dir.Path("data"));
    }
}
