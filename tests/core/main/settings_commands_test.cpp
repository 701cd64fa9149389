#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

#include "main/ProgramDir.h"
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;

namespace {

class SettingsCommandsTest : public ::testing::Test {
protected:
    SettingsCommandsTest() {
        dir.CreateDirectory("src");
        dir.CreateDirectory("dst");
        prog = dir.ProgramDir();
    }

    // Starts the program the way it starts for a person: every window
    // created, the default settings file read or made.
    Windows& Start() {
        windows = std::make_unique<Windows>(desktop, prog);
        return *windows;
    }

    std::string Ini() { return dir.ReadFile("prog/tfoldw.ini"); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    std::string prog;
    std::unique_ptr<Windows> windows;
};

TEST_F(SettingsCommandsTest, FirstStartWritesFiveKeysAndALaterSaveAddsTheRestInOrder) {
    ASSERT_EQ(chdir(dir.Path("src").c_str()), 0);
    TMain& main = Start().main;
    const std::string src = dir.Path("src");
    EXPECT_EQ(Ini(), "[Settings]\nSourceDir=" + src + "\nDestDir=" + src +
                         "\nSyncAll=0\nSelectAll=0\nSaveSettings=1\n");
    EXPECT_TRUE(main.SaveSettingsonExit.Checked());
    EXPECT_EQ(main.EditFilter.ItemIndex(), -1);
    EXPECT_TRUE(desktop.boxes.empty());

    ASSERT_TRUE(main.DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    SyncSettings edited;
    edited.Exclude = "*.bak;";
    edited.CopyBuffer = 131072;
    windows->options.Apply(edited);
    main.windowWidth = 900;
    main.windowHeight = 540;
    main.SaveDefaultSettings1Click();
    EXPECT_EQ(Ini(), "[Settings]\nSourceDir=" + src + "\nDestDir=" + dir.Path("dst") +
                         "\nSyncAll=0\nSelectAll=0\nSaveSettings=1\nBatchDir=" + prog +
                         "tfoldw.tfw\nWindowWidth=900\nWindowHeight=540\n"
                         "[Options]\nExclude=*.bak;\nInclude=\nCopyBuffer=131072\nFiletype=0\n");
}

TEST_F(SettingsCommandsTest, StartUpReadAppliesTheStoredValuesAndTheFileType) {
    dir.CreateFile("src/a.doc", "a");
    dir.CreateFile("src/b.txt", "b");
    dir.CreateFile("src/skip.doc", "s");
    dir.CreateFile("prog/tfoldw.ini", "[Settings]\nSourceDir=" + dir.Path("src") +
                                          "\nDestDir=" + dir.Path("dst") +
                                          "\nSyncAll=1\nWindowWidth=900\nWindowHeight=-5"
                                          "\n[Options]\nInclude=*.doc;\n"
                                          "Exclude=skip*;\nCopyBuffer=0x20000\nFiletype=1\n");
    Windows& started = Start();
    TMain& main = started.main;
    EXPECT_EQ(main.SourceDirListBox.Directory(), dir.Path("src"));
    EXPECT_EQ(main.DestDirListBox.Directory(), dir.Path("dst"));
    EXPECT_TRUE(main.SaveSettingsonExit.Checked());  // missing key: checked at start-up
    EXPECT_TRUE(main.SyncAll.Checked());
    EXPECT_FALSE(main.cbSelectAll.Enabled());
    EXPECT_EQ(main.windowWidth, 900);
    EXPECT_EQ(main.windowHeight, 0);  // below zero: the least height
    EXPECT_EQ(started.options.CopyBufferSize(), 131072);
    EXPECT_EQ(started.options.IncludeList.Items(), std::vector<std::string>{"*.doc"});
    // The custom filter is in force from the first display.
    ASSERT_EQ(main.FileList.Count(), 1);
    EXPECT_EQ(main.FileList.Items()[0].text, "a.doc");
}

TEST_F(SettingsCommandsTest, LoadAppliesEveryKeyAndMissingKeysTakeTheirDefaults) {
    dir.CreateFile("src/a.txt", "a");
    dir.CreateFile("src/b.txt", "b");
    TMain& main = Start().main;
    std::string path = dir.CreateFile(
        "job.ini", "[settings]\nsourcedir=" + dir.Path("src") + "\nDestDir=" + dir.Path("dst") +
                       "\nSelectAll=1\nBatchDir=/jobs/night.tfw\n[Options]\nInclude=*.txt;;*.doc;\n"
                       "CopyBuffer=100000\nFiletype=4\n");
    main.LoadSettingsFile(path);
    EXPECT_FALSE(main.SaveSettingsonExit.Checked());  // missing key: unchecked by a load
    EXPECT_EQ(main.currentBatchFile, "/jobs/night.tfw");
    EXPECT_EQ(main.EditFilter.ItemIndex(), 4);
    EXPECT_EQ(main.FileList.Mask(), "*.doc");
    EXPECT_TRUE(main.cbSelectAll.Checked());
    EXPECT_EQ(windows->options.includeFilters(), "*.txt;;*.doc;");
    EXPECT_EQ(windows->options.IncludeList.Items(),
              (std::vector<std::string>{"*.txt", "", "*.doc"}));
    EXPECT_EQ(windows->options.CopyBufferSize(), 100000);
    EXPECT_EQ(windows->options.CheckedSize(), 32768);  // no button for that size

    // The file's own patterns decide the custom file type's list.
    std::string custom = dir.CreateFile("custom.ini", "[Settings]\nSourceDir=" + dir.Path("src") +
                                                          "\nDestDir=" + dir.Path("dst") +
                                                          "\n[Options]\nFiletype=1\nInclude=b*;\n");
    main.LoadSettingsFile(custom);
    EXPECT_EQ(main.FileList.Mask(), "b*;");
    ASSERT_EQ(main.FileList.Count(), 1);
    EXPECT_EQ(main.FileList.Items()[0].text, "b.txt");

    EXPECT_EQ(windows->options.includeFilters(), "b*;");

    // The same directory and mask with other exclusions: only the loaded
    // file's exclusions count.
    auto excluding = [&](const std::string& pattern) {
        return dir.CreateFile(pattern + ".ini", "[Settings]\nSourceDir=" + dir.Path("src") +
                                                    "\nDestDir=" + dir.Path("dst") +
                                                    "\n[Options]\nFiletype=1\n"
                                                    "Include=*.txt;\nExclude=" +
                                                    pattern + ";\n");
    };
    main.LoadSettingsFile(excluding("a*"));
    main.LoadSettingsFile(excluding("b*"));
    ASSERT_EQ(main.FileList.Count(), 1);
    EXPECT_EQ(main.FileList.Items()[0].text, "a.txt");
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SettingsCommandsTest, AMissingSourceDirectoryStopsTheLoadAtThatStep) {
    TMain& main = Start().main;
    main.SaveSettingsonExit.SetChecked(true);
    std::string path = dir.CreateFile(
        "bad.ini", "[Settings]\nSourceDir=" + dir.Path("gone") + "\nSaveSettings=0\nSyncAll=1\n");
    const std::string before = main.SourceDirListBox.Directory();
    main.LoadSettingsFile(path);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_NE(desktop.Texts()[0].find(dir.Path("gone")), std::string::npos);
    EXPECT_EQ(main.SourceDirListBox.Directory(), before);
    EXPECT_TRUE(main.SaveSettingsonExit.Checked());
    EXPECT_FALSE(main.SyncAll.Checked());
    main.LoadSettingsFile("");
    EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(SettingsCommandsTest, SaveAsMergesIntoAnExistingFileAndLoadUsesItsDialog) {
    Windows& windows = Start();
    TMain& main = windows.main;
    std::string other = dir.CreateFile("other.ini", "; mine\n[Settings]\nSyncAll=1\nColour=blue\n");
    desktop.fileAnswers = {other};
    main.SaveSettingsAs1Click();
    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    // Never the default file's name: Save As proposes one nothing has.
    EXPECT_EQ(desktop.fileDialogs[0].fileName, "tfoldw1.ini");
    EXPECT_EQ(desktop.fileDialogs[0].initialDirectory, prog);
    EXPECT_EQ(desktop.fileDialogs[0].filterIndex, 1);
    EXPECT_TRUE(desktop.fileDialogs[0].confirmOverwrite);
    std::string text = dir.ReadFile("other.ini");
    EXPECT_EQ(text.rfind("; mine\n[Settings]\nSyncAll=0\nColour=blue\nSourceDir=", 0), 0u) << text;
    EXPECT_NE(text.find("[Options]\nExclude=\nInclude=\nCopyBuffer=32768\nFiletype=0\n"),
              std::string::npos);

    desktop.fileAnswers = {std::nullopt};
    main.LoadSettingsClick();
    EXPECT_EQ(desktop.fileDialogs[1].initialDirectory, dir.path() + "/");
    EXPECT_TRUE(desktop.fileDialogs[1].mustExist);
    EXPECT_TRUE(desktop.boxes.empty());

    // The run log saves start in the settings folder, then where the last went.
    desktop.fileAnswers = {dir.Path("logs.txt"), std::nullopt};
    windows.logFile.SaveSuccessClick();
    windows.logFile.SaveFailClick();
    EXPECT_EQ(desktop.fileDialogs[2].initialDirectory, prog);
    EXPECT_EQ(desktop.fileDialogs[3].initialDirectory, dir.path() + "/");
}

TEST_F(SettingsCommandsTest, ExitSavesOnlyWhenCheckedAndTheToggleIsWrittenAtOnce) {
    TMain& main = Start().main;
    int closed = 0;
    const Connection mainClose = main.OnClose.Connect([&] { ++closed; });
    main.SaveSettingsonExitClick();
    EXPECT_FALSE(main.SaveSettingsonExit.Checked());
    EXPECT_NE(Ini().find("SaveSettings=0"), std::string::npos);
    const std::string before = Ini();
    main.Exit1Click();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(desktop.helpContexts, std::vector<int>{-1});

    main.SaveSettingsonExitClick();
    main.Exit1Click();
    EXPECT_NE(Ini().find("[Options]"), std::string::npos);
    EXPECT_EQ(closed, 2);

    // Settings that cannot be saved keep the window open.
    dir.MakeReadOnly("prog/tfoldw.ini");
    main.Exit1Click();
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(desktop.Texts().back(), "Unable to write to " + prog + "tfoldw.ini");
    EXPECT_EQ(desktop.helpContexts, (std::vector<int>{-1, -1}));
}

// A directory whose name holds a line feed would be written as a directory
// and an injected key; every save refuses it and leaves the file as it was.
TEST_F(SettingsCommandsTest, ADirectoryNameWithALineFeedIsRefusedByEverySave) {
    TMain& main = Start().main;
    const std::string odd = dir.CreateDirectory("src/a\n[Options]\nInclude=evil;");
    ASSERT_TRUE(main.DestDirListBox.SetDirectory(odd).ok());
    const std::string before = Ini();
    const std::string refusal = "Unable to write to " + prog +
                                "tfoldw.ini: the value of DestDir holds a line end or a NUL "
                                "character.";
    main.SaveDefaultSettings1Click();
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{refusal});

    int closed = 0;
    const Connection mainClose = main.OnClose.Connect([&] { ++closed; });
    main.Exit1Click();
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(Ini(), before);

    std::string other = dir.CreateFile("other.ini", "[Settings]\nSyncAll=1\n");
    desktop.fileAnswers = {other};
    main.SaveSettingsAs1Click();
    EXPECT_EQ(dir.ReadFile("other.ini"), "[Settings]\nSyncAll=1\n");
    EXPECT_EQ(desktop.boxes.size(), 3u);
}

// A stored file type takes effect once the patterns are there, and a stored
// "SelectAll" still selects every entry the type lists; the next Exit keeps it.
TEST_F(SettingsCommandsTest, StartUpWithSelectAllKeepsEveryEntryOfTheStoredFileType) {
    for (const char* name : {"a.txt", "b.txt", "c.doc", "skip.txt"}) {
        dir.CreateFile(std::string("src/") + name, "x");
    }
    struct Case {
        const char* name;
        int filetype;
        int listed;
    } cases[] = {{"all files", 0, 4}, {"custom", 1, 2}, {"documents", 4, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.CreateFile("prog/tfoldw.ini", "[Settings]\nSourceDir=" + dir.Path("src") +
                                              "\nDestDir=" + dir.Path("dst") +
                                              "\nSelectAll=1\n[Options]\nInclude=*.txt;\n"
                                              "Exclude=skip*;\nFiletype=" +
                                              std::to_string(c.filetype) + "\n");
        TMain& main = Start().main;
        EXPECT_EQ(main.FileList.Count(), c.listed);
        EXPECT_EQ(main.FileList.SelCount(), c.listed);
        EXPECT_TRUE(main.cbSelectAll.Checked());
        EXPECT_EQ(main.windowWidth, 0);  // a file without the size: the least size
        EXPECT_EQ(main.FileCount.Caption(), "Total Files Selected: " + std::to_string(c.listed));
        main.Exit1Click();
        EXPECT_NE(Ini().find("SelectAll=1"), std::string::npos);
    }
}

TEST_F(SettingsCommandsTest, AProgramDirectoryThatCannotBeWrittenIsReportedOnceAndStartsAnyway) {
    prog = dir.Path("missing") + "/";
    TMain& main = Start().main;
    EXPECT_EQ(desktop.Texts(),
              std::vector<std::string>{"Unable to write to " + prog + "tfoldw.ini"});
    EXPECT_FALSE(main.SourceDirListBox.Directory().empty());
}

TEST_F(SettingsCommandsTest, ProgramDirectoryIsTheProgramsOwnWhenWritableElseTheUsersConfig) {
    EXPECT_EQ(ProgramDirectoryFor(dir.Path("prog")), prog);
    std::string config = dir.CreateDirectory("config");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(ProgramDirectoryFor(dir.Path("no/such/dir")), config + "/twinfold/");
    EXPECT_TRUE(dir.Exists("config/twinfold"));
    // An installed program keeps its settings with the user, also when run
    // by root, who may write anywhere.
    EXPECT_EQ(ProgramDirectoryFor("/usr/bin/"), config + "/twinfold/");
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
