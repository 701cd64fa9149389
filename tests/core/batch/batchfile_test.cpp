#include <gtest/gtest.h>

#include "batch/BatchFile.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;

namespace {

using List = std::vector<std::string>;

TEST(BatchFile, ReadingStopsAtTheFirstGapOrAtDone) {
    test::TestDir dir;
    struct Case {
        const char* name;
        const char* text;
        List expected;
    } cases[] = {
        {"gap ends the list",
         "[Files]\nFile0=/a.ini\nFile1=/b.ini\nFile3=/d.ini\n",
         {"/a.ini", "/b.ini"}},
        {"Done ends, done does not",
         "[Files]\nFile0=/a.ini\nFile1=done\nFile2=Done\nFile3=/x\n",
         {"/a.ini", "done"}},
        {"File00 is no entry key", "[Files]\nFile00=/a.ini\n", {}},
        {"empty value is an entry", "[files]\nfile0=\nFILE1=/b.ini\n", {"", "/b.ini"}},
        {"duplicates kept", "[Files]\nFile0=/a.ini\nFile1=/a.ini\n", {"/a.ini", "/a.ini"}},
        {"no section", "[Other]\nFile0=/a.ini\n", {}},
        {"byte-order mark skipped", "\xEF\xBB\xBF[Files]\nFile0=/a.ini\n", {"/a.ini"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadBatchFile(dir.CreateFile("batch.tfw", c.text)), c.expected);
    }
    EXPECT_EQ(ReadBatchFile(dir.Path("missing.tfw")), List{});
}

TEST(BatchFile, WritingLeavesExactlyTheListAndAnEmptyListRemovesTheFile) {
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    std::string path = dir.CreateFile(
        "night.tfw", "[Other]\nKeep=no\n[Files]\nFile0=1\nFile1=2\nFile2=3\nFile3=4\nFile4=5\n");
    ASSERT_TRUE(test::Shown(WriteBatchFile(path, {"/A.INI", "/B.INI", "/A.INI"}), desktop));
    EXPECT_EQ(dir.ReadFile("night.tfw"), "[Files]\nFile0=/A.INI\nFile1=/B.INI\nFile2=/A.INI\n");
    EXPECT_EQ(ReadBatchFile(path), (List{"/A.INI", "/B.INI", "/A.INI"}));

    ASSERT_TRUE(test::Shown(WriteBatchFile(path, {}), desktop));
    EXPECT_FALSE(dir.Exists("night.tfw"));
    EXPECT_EQ(ReadBatchFile(path), List{});
    EXPECT_TRUE(test::Shown(WriteBatchFile(path, {}), desktop));
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST(BatchFile, AFailedWriteKeepsTheOldList) {
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    std::string path = dir.CreateFile("jobs/old.tfw", "[Files]\nFile0=/KEEP.INI\n");
    dir.MakeReadOnly("jobs/old.tfw");
    EXPECT_FALSE(test::Shown(WriteBatchFile(path, {"/NEW.INI"}), desktop));
    EXPECT_EQ(ReadBatchFile(path), List{"/KEEP.INI"});
    EXPECT_EQ(desktop.Texts(), List{"Unable to write to " + path});

    std::string nowhere = dir.Path("missing/dir/new.tfw");
    EXPECT_FALSE(test::Shown(WriteBatchFile(nowhere, {"/NEW.INI"}), desktop));
    EXPECT_FALSE(dir.Exists("missing"));
}

// A line feed in an entry would, read back, end the entry there and inject
// whatever follows as another key; such a list is refused as a whole.
TEST(BatchFile, AnEntryWithALineEndIsRefusedAndTheOldListStays) {
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    const std::string old = "[Files]\nFile0=/KEEP.INI\n";
    std::string path = dir.CreateFile("night.tfw", old);
    EXPECT_FALSE(test::Shown(WriteBatchFile(path, {"/A.INI", "/B.INI\nFile2=/EVIL.INI", "/C.INI"}),
                             desktop));
    EXPECT_EQ(dir.ReadFile("night.tfw"), old);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_NE(desktop.Texts()[0].find(path), std::string::npos);
    EXPECT_NE(desktop.Texts()[0].find("File1"), std::string::npos);
    EXPECT_EQ(dir.Names(""), List{"night.tfw"});
}

}  // namespace
