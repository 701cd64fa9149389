#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/PendingFile.h"
#include "settings/SyncSettings.h"
#include "settings/TIniFile.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

// The names in a directory, to see that no temporary file was left behind.
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const std::string kRichFile =
    "; settings of the nightly copy\n"
    "Top=before any section\n"
    "\n"
    "[Settings]\n"
    "SourceDir=/home/ann/data\n"
    "  Unknown = kept as is  \n"
    "; a comment inside\n"
    "not a key line\n"
    "DestDir = /old\n"
    "\n"
    "\n"
    "[Other]\n"
    "DestDir=/other\n"
    "[Last]\n"
    "k=v\n";

}  // namespace

TEST(IniFileMerge, ReplacesValueWhereItStandsAndKeepsEveryOtherByte) {
    test::TestDir dir;
    std::string path = dir.CreateFile("tfoldw.ini", kRichFile);
    TIniFile ini(path);

    ASSERT_TRUE(ini.WriteString("settings", "DESTDIR", "/new").ok());

    std::string expected = kRichFile;
    expected.replace(expected.find("DestDir = /old"), 14, "DestDir=/new");
    EXPECT_EQ(dir.ReadFile("tfoldw.ini"), expected);
    EXPECT_EQ(ini.ReadString("Other", "DestDir", ""), "/other");
}

TEST(IniFileMerge, AddsKeyAfterLastFilledLineOfSectionInTheMiddle) {
    test::TestDir dir;
    std::string path = dir.CreateFile("tfoldw.ini", kRichFile);
    TIniFile ini(path);

    ASSERT_TRUE(ini.WriteString("Settings", "SyncAll", "1").ok());
    ASSERT_TRUE(ini.WriteString("Other", "BatchDir", "/b.tfw").ok());

    std::string expected = kRichFile;
    expected.insert(expected.find("\n\n\n[Other]") + 1, "SyncAll=1\n");
    expected.insert(expected.find("[Last]"), "BatchDir=/b.tfw\n");
    EXPECT_EQ(dir.ReadFile("tfoldw.ini"), expected);
    EXPECT_EQ(ini.ReadString("Settings", "SyncAll", ""), "1");
}

TEST(IniFileMerge, AddsMissingSectionAtTheEnd) {
    test::TestDir dir;
    std::string path = dir.CreateFile("tfoldw.ini", kRichFile);
    TIniFile ini(path);

    ASSERT_TRUE(ini.WriteString("Options", "Include", "*.txt;").ok());

    EXPECT_EQ(dir.ReadFile("tfoldw.ini"), kRichFile + "[Options]\nInclude=*.txt;\n");
}

TEST(IniFileMerge, EndsAnUnterminatedLastLineBeforeAdding) {
    struct Case {
        const char* name;
        const char* section;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"key into last section", "A", "[A]\nx=1", "[A]\nx=1\ny=2\n"},
        {"new section", "B", "[A]\nx=1", "[A]\nx=1\n[B]\ny=2\n"},
        {"crlf file", "B", "[A]\r\nx=1", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"empty file", "B", "", "[B]\ny=2\n"},
        {"header only", "A", "[A]", "[A]\ny=2\n"},
        {"lone CR, new section", "B", "[A]\nx=/data\r", "[A]\nx=/data\r\n[B]\ny=2\n"},
        {"lone CR, key into last section", "A", "[A]\nx=1\r", "[A]\nx=1\r\ny=2\n"},
        {"lone CR the only line end", "B", "[A]\r", "[A]\r\n[B]\r\ny=2\r\n"},
        {"byte-order mark kept", "A", "\xEF\xBB\xBF[A]\nx=1", "\xEF\xBB\xBF[A]\nx=1\ny=2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestDir dir;
        TIniFile ini(dir.CreateFile("f.ini", c.before));
        ASSERT_TRUE(ini.WriteString(c.section, "y", "2").ok());
        EXPECT_EQ(dir.ReadFile("f.ini"), c.after);
        EXPECT_EQ(ini.ReadString(c.section, "y", ""), "2");
    }
}

// Read back, a line end inside a value would end the value there and make
// the rest another key or section: such a value is refused, with the file
// and the key named, and nothing is written.
TEST(IniFileWrite, AValueWithALineEndOrNulIsRefused) {
    struct Case {
        const char* name;
        std::string value;
    } cases[] = {
        {"line feed", "/tmp/a\n[Options]\nInclude=evil;"},
        {"carriage return", "/tmp/a\r"},
        {"NUL", std::string("/tmp/a\0b", 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestDir dir;
        test::ScriptedDesktop desktop;
        const std::string before = "[Settings]\nSourceDir=/home\n";
        TIniFile ini(dir.CreateFile("f.ini", before));
        Status written = ini.WriteString("Settings", "SourceDir", c.value);
        test::Shown(written, desktop);
        EXPECT_FALSE(written.ok());
        EXPECT_EQ(dir.ReadFile("f.ini"), before);
        EXPECT_EQ(desktop.Texts(),
                  std::vector<std::string>{"Unable to write to " + ini.FileName() +
                                           ": the value of SourceDir holds a line end or a NUL "
                                           "character."});
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"f.ini"});
    }
}

TEST(IniFileMerge, CrLfFileStaysCrLf) {
    test::TestDir dir;
    const std::string original = "[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n";
    TIniFile ini(dir.CreateFile("f.ini", original));

    ASSERT_TRUE(ini.WriteString("A", "x", "10").ok());
    ASSERT_TRUE(ini.WriteString("A", "y", "2").ok());
    ASSERT_TRUE(ini.WriteString("C", "w", "4").ok());

    EXPECT_EQ(dir.ReadFile("f.ini"), "[A]\r\nx=10\r\ny=2\r\n\r\n[B]\r\nz=3\r\n[C]\r\nw=4\r\n");
    EXPECT_EQ(ini.ReadString("B", "z", ""), "3");
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 10);
}

TEST(IniFileMerge, DuplicateSectionIsWrittenIntoItsFirstOccurrence) {
    test::TestDir dir;
    TIniFile ini(dir.CreateFile("f.ini", "[A]\nx=1\n[B]\n[a]\nx=2\ny=3\n"));

    ASSERT_TRUE(ini.WriteString("A", "y", "new").ok());
    ASSERT_TRUE(ini.WriteString("A", "x", "one").ok());

    EXPECT_EQ(dir.ReadFile("f.ini"), "[A]\nx=one\ny=new\n[B]\n[a]\nx=2\ny=3\n");
    EXPECT_EQ(ini.ReadString("a", "y", ""), "new");
}

// The first start writes five keys into a new file; a later save of all ten
// updates them in place and adds the rest.
TEST(IniFileMerge, FirstStartThenFullSaveGivesTheUsualLayout) {
    test::TestDir dir;
    TIniFile ini(dir.Path("tfoldw.ini"));
    ASSERT_TRUE(ini.WriteString("Settings", "SourceDir", "/work").ok());
    ASSERT_TRUE(ini.WriteString("Settings", "DestDir", "/backup").ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SyncAll", false).ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SelectAll", false).ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SaveSettings", true).ok());
    EXPECT_EQ(dir.ReadFile("tfoldw.ini"),
              "[Settings]\nSourceDir=/work\nDestDir=/backup\nSyncAll=0\nSelectAll=0\n"
              "SaveSettings=1\n");

    ASSERT_TRUE(ini.WriteString("Settings", "SourceDir", "/work").ok());
    ASSERT_TRUE(ini.WriteString("Settings", "DestDir", "/mnt/backup").ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SaveSettings", true).ok());
    ASSERT_TRUE(ini.WriteString("Settings", "BatchDir", "/apps/tfoldw.tfw").ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SyncAll", false).ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SelectAll", true).ok());
    ASSERT_TRUE(ini.WriteString("Options", "Exclude", "*.bak;*.tmp;").ok());
    ASSERT_TRUE(ini.WriteString("Options", "Include", "").ok());
    ASSERT_TRUE(ini.WriteInteger("Options", "CopyBuffer", 131072).ok());
    ASSERT_TRUE(ini.WriteInteger("Options", "Filetype", 1).ok());

    EXPECT_EQ(dir.ReadFile("tfoldw.ini"),
              "[Settings]\nSourceDir=/work\nDestDir=/mnt/backup\nSyncAll=0\nSelectAll=1\n"
              "SaveSettings=1\nBatchDir=/apps/tfoldw.tfw\n"
              "[Options]\nExclude=*.bak;*.tmp;\nInclude=\nCopyBuffer=131072\nFiletype=1\n");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"tfoldw.ini"});
}

TEST(IniFileRead, ValuesAsTheProfileFunctionsGiveThem) {
    test::TestDir dir;
    TIniFile ini(dir.CreateFile("f.ini",
                                "Top=outside\n"
                                "[Values]\n"
                                "double=\"quoted value\"\n"
                                "single='single'\n"
                                "unmatched=\"open\n"
                                "mixed=\"a'\n"
                                "inner=a \"b\" c\n"
                                "blanks =   spaced out   \n"
                                "\ttabbed\t=\tx\t\n"
                                "quotedBlanks=\" keep \"\n"
                                "empty=\n"
                                "onlyQuotes=\"\"\n"
                                "lone=\"\n"
                                "equals=a=b\n"
                                "nokeyline\n"
                                ";comment=hidden\n"
                                "  ; indented=hidden\n"
                                "Dup=first\n"
                                "dup=second\n"
                                "crlf=x\r\n"
                                "[ Spaced Section ] trailing words\n"
                                "k=v\n"
                                "[values]\n"
                                "double=second section\n"
                                "late=only in the second\n"));
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Values", "double", "quoted value"},
        {"VALUES", "DOUBLE", "quoted value"},
        {"Values", "single", "single"},
        {"Values", "unmatched", "\"open"},
        {"Values", "mixed", "\"a'"},
        {"Values", "inner", "a \"b\" c"},
        {"Values", "blanks", "spaced out"},
        {"Values", "tabbed", "x"},
        {"Values", "quotedblanks", " keep "},
        {"Values", "empty", ""},
        {"Values", "onlyquotes", ""},
        {"Values", "lone", "\""},
        {"Values", "equals", "a=b"},
        {"Values", "nokeyline", "<default>"},
        {"Values", ";comment", "<default>"},
        {"Values", "comment", "<default>"},
        {"Values", "; indented", "<default>"},
        {"Values", "dup", "first"},
        {"Values", "crlf", "x"},
        {"Values", "late", "<default>"},
        {"Values", "Top", "<default>"},
        {"spaced section", "K", "v"},
        {"Missing", "double", "<default>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected);
    }
}

TEST(IniFileRead, ListsSectionsAndKeys) {
    test::TestDir dir;
    TIniFile ini(dir.CreateFile("f.ini",
                                "[Files]\nFile0=a\n; File9=x\nfile0=b\n File1 = c\n"
                                "[Other]\nq=1\n[FILES]\nFile2=d\n"));

    EXPECT_TRUE(ini.SectionExists("files"));
    EXPECT_FALSE(ini.SectionExists("File"));
    EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"File0", "File1"}));
    EXPECT_TRUE(ini.ReadSection("None").empty());
}

TEST(IniFileRead, MissingFileGivesDefaultsAndCreatesNothing) {
    test::TestDir dir;
    TIniFile ini(dir.Path("none.ini"));

    EXPECT_EQ(ini.FileName(), dir.Path("none.ini"));
    EXPECT_EQ(ini.ReadString("Settings", "SourceDir", "c:/"), "c:/");
    EXPECT_EQ(ini.ReadInteger("Options", "CopyBuffer", 32768), 32768);
    EXPECT_TRUE(ini.ReadBool("Settings", "SaveSettings", true));
    EXPECT_FALSE(ini.SectionExists("Settings"));
    EXPECT_TRUE(ini.EraseSection("Settings").ok());
    EXPECT_TRUE(Names(dir.path()).empty());
}

TEST(IniFileRead, LongValueIsCutAt1023Characters) {
    test::TestDir dir;
    std::string longValue;
    for (int i = 0; i < 1500; ++i) longValue += static_cast<char>('a' + i % 26);
    TIniFile ini(dir.Path("f.ini"));
    ASSERT_TRUE(ini.WriteString("Options", "Include", longValue).ok());

    EXPECT_EQ(dir.ReadFile("f.ini"), "[Options]\nInclude=" + longValue + "\n");
    EXPECT_EQ(ini.ReadString("Options", "Include", ""), longValue.substr(0, 1023));
    EXPECT_EQ(ini.ReadString("Options", "Missing", longValue), longValue.substr(0, 1023));
    std::string exact = longValue.substr(0, 1023);
    ASSERT_TRUE(ini.WriteString("Options", "Include", exact).ok());
    EXPECT_EQ(ini.ReadString("Options", "Include", ""), exact);
}

TEST(IniFileRead, IntegerForms) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    constexpr std::int32_t kDefault = 77;
    const Case cases[] = {
        {"12", 12},
        {"-5", -5},
        {"+7", 7},
        {"$1F", 31},
        {"$8000", 32768},
        {"0x1f", 31},
        {"0X1F", 31},
        {"0x20000", 131072},
        {"0X", kDefault},
        {"0x", kDefault},
        {"0x-1", kDefault},
        {"$", kDefault},
        {"$-1", kDefault},
        {"12abc", kDefault},
        {"abc", kDefault},
        {"", kDefault},
        {" 42 ", 42},
        {"'9'", 9},
        {"1 2", kDefault},
        {"-", kDefault},
        {"- 5", kDefault},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", kDefault},
        {"-2147483649", kDefault},
        {"99999999999999999999", kDefault},
        {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"$1FFFFFFFF", -1},
        {"0x100000010", 16},
    };
    test::TestDir dir;
    std::string content = "[N]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        content += "k" + std::to_string(i) + "=" + cases[i].text + "\n";
    }
    TIniFile ini(dir.CreateFile("f.ini", content));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(std::string("\"") + cases[i].text + "\"");
        EXPECT_EQ(ini.ReadInteger("N", "k" + std::to_string(i), kDefault), cases[i].expected);
    }
    EXPECT_EQ(ini.ReadInteger("N", "missing", kDefault), kDefault);
}

TEST(IniFileWrite, IntegersAreWrittenInDecimalAndReadBack) {
    test::TestDir dir;
    TIniFile ini(dir.Path("f.ini"));
    for (std::int32_t value : {0, 32768, -1, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(ini.WriteInteger("Options", "CopyBuffer", value).ok());
        EXPECT_EQ(ini.ReadString("Options", "CopyBuffer", ""), std::to_string(value));
        EXPECT_EQ(ini.ReadInteger("Options", "CopyBuffer", 5), value);
    }
}

TEST(IniFileRead, Flags) {
    struct Case {
        const char* text;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    };
    const Case cases[] = {
        {"1", true, true},    {"0", false, false},  {"2", true, true},
        {"-1", true, true},   {"$0", false, false}, {"0x10", true, true},
        {"yes", false, true}, {"", false, true},    {"true", false, true},
    };
    test::TestDir dir;
    TIniFile ini(dir.Path("f.ini"));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        ASSERT_TRUE(ini.WriteString("Settings", "SyncAll", c.text).ok());
        EXPECT_EQ(ini.ReadBool("Settings", "SyncAll", false), c.whenDefaultFalse);
        EXPECT_EQ(ini.ReadBool("Settings", "SyncAll", true), c.whenDefaultTrue);
    }
    EXPECT_TRUE(ini.ReadBool("Settings", "Missing", true));
    EXPECT_FALSE(ini.ReadBool("Settings", "Missing", false));

    ASSERT_TRUE(ini.WriteBool("Settings", "SyncAll", true).ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SelectAll", false).ok());
    EXPECT_EQ(dir.ReadFile("f.ini"), "[Settings]\nSyncAll=1\nSelectAll=0\n");
}

TEST(IniFileWrite, EraseSectionRemovesEveryOccurrenceAndNothingElse) {
    test::TestDir dir;
    TIniFile ini(dir.CreateFile("b.tfw",
                                "; batch\n[Files]\nFile0=/a.ini\nFile1=/b.ini\n\n"
                                "[Keep]\nx=1\n[files]\nFile2=/c.ini\n"));

    ASSERT_TRUE(ini.EraseSection("FILES").ok());
    EXPECT_EQ(dir.ReadFile("b.tfw"), "; batch\n[Keep]\nx=1\n");
    EXPECT_FALSE(ini.SectionExists("Files"));

    // Nothing to erase: the file is not even rewritten.
    std::int64_t stamp = test::LocalTime(2001, 2, 3);
    dir.SetModified("b.tfw", stamp);
    ASSERT_TRUE(ini.EraseSection("Files").ok());
    EXPECT_EQ(dir.Modified("b.tfw"), stamp);
}

TEST(IniFileWrite, KeepsPermissionBitsAndLeavesNoTemporaryFile) {
    test::TestDir dir;
    std::string path = dir.CreateFile("f.ini", "[A]\nx=1\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TIniFile ini(path);

    ASSERT_TRUE(ini.WriteString("A", "x", "2").ok());
    ASSERT_TRUE(ini.EraseSection("A").ok());

    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"f.ini"});
}

TEST(IniFileWrite, FailureShowsMessageAndLeavesNothingBehind) {
    struct Case {
        const char* name;
        const char* file;
    };
    const Case cases[] = {
        {"parent is a regular file", "plain/f.ini"},
        {"missing directory", "missing/f.ini"},
        {"path is a directory", "folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestDir dir;
        dir.CreateFile("plain", "data");
        dir.CreateDirectory("folder");
        test::ScriptedDesktop desktop;
        TIniFile ini(dir.Path(c.file));

        Status written = ini.WriteString("Settings", "SourceDir", "/x");
        test::Shown(written, desktop);

        ASSERT_FALSE(written.ok());
        EXPECT_FALSE(written.error().message.empty());
        EXPECT_EQ(desktop.Texts(),
                  std::vector<std::string>{"Unable to write to " + ini.FileName()});
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(dir.ReadFile("plain"), "data");
        EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"folder", "plain"}));
        EXPECT_TRUE(fs::is_empty(dir.Path("folder")));
    }
}

// A file without write permission counts as read-only even for root.
TEST(IniFileWrite, ReadOnlyFileIsNotReplaced) {
    test::TestDir dir;
    const std::string original = "[Settings]\nSourceDir=/old\n";
    std::string path = dir.CreateFile("f.ini", original);
    dir.MakeReadOnly("f.ini");
    test::ScriptedDesktop desktop;
    TIniFile ini(path);

    EXPECT_FALSE(test::Shown(ini.WriteString("Settings", "SourceDir", "/new"), desktop));
    EXPECT_FALSE(test::Shown(ini.WriteInteger("Options", "CopyBuffer", 1), desktop));
    EXPECT_FALSE(test::Shown(ini.EraseSection("Settings"), desktop));

    EXPECT_EQ(dir.ReadFile("f.ini"), original);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>(3, "Unable to write to " + path));
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"f.ini"});
}

TEST(IniFileWrite, FailureCarriesTheMessageAndTheSystemsCode) {
    test::TestDir dir;
    dir.CreateFile("plain");
    TIniFile ini(dir.Path("plain/f.ini"));
    Status written = ini.WriteBool("Settings", "SyncAll", true);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().message, "Unable to write to " + ini.FileName());
    EXPECT_EQ(written.error().code, ENOTDIR);
}

TEST(IniFileWrite, UnwritableDirectoryWhenNotRoot) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    test::TestDir dir;
    const std::string original = "[A]\nx=1\n";
    std::string path = dir.CreateFile("locked/f.ini", original);
    fs::permissions(dir.Path("locked"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    test::ScriptedDesktop desktop;
    TIniFile ini(path);

    EXPECT_FALSE(test::Shown(ini.WriteString("A", "x", "2"), desktop));
    EXPECT_EQ(dir.ReadFile("locked/f.ini"), original);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Unable to write to " + path});
}

// Someone else's link in a sticky, world-writable directory is not
// followed, as the kernel would not follow it for us.
TEST(IniFileWrite, AnothersLinkInASharedDirectoryIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a link away";
    test::TestDir dir;
    const std::string target = dir.CreateFile("mine.ini", "[A]\nx=1\n");
    const std::string shared = dir.CreateDirectory("shared");
    ASSERT_EQ(chown(shared.c_str(), 65533, 65533) | chmod(shared.c_str(), 01777), 0);
    const std::string link = shared + "/f.ini";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()) | lchown(link.c_str(), 65534, 65534), 0);
    TIniFile ini(link);
    Status written = ini.WriteString("A", "x", "2");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().message.rfind("Unable to write to " + link + ": the link ", 0), 0u);
    EXPECT_EQ(dir.ReadFile("mine.ini"), "[A]\nx=1\n");
    EXPECT_TRUE(fs::is_symlink(link));
}

// A save replaces the file once, with every key, or leaves it as it was:
// under a size limit the first keys would fit and the whole save not.
TEST(IniFileWrite, ASaveThatCannotFinishLeavesTheOldFileWhole) {
    for (bool named : {false, true}) {
        platform::UseNamedTemporaries(named);
        test::TestDir dir;
        const std::string saved = "[Settings]\nSourceDir=/old\n";
        TIniFile ini(dir.CreateFile("f.ini", saved));
        SyncSettings settings;
        settings.SourceDir = "/s";
        settings.Exclude = std::string(512, 'x');
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small = {static_cast<rlim_t>(saved.size() + 64), limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_FALSE(WriteSyncSettings(ini, settings).ok());
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_DFL);
        EXPECT_EQ(dir.ReadFile("f.ini"), saved);
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"f.ini"});
    }
    platform::UseNamedTemporaries(false);
}

namespace {

// A tiny tmpfs that a test can fill up; unmounted when the test ends.
class SmallVolume {
public:
    explicit SmallVolume(std::string where) : where_(std::move(where)) {
        fs::create_directories(where_);
        std::string command = "mount -t tmpfs -o size=16k tmpfs '" + where_ + "' 2>/dev/null";
        mounted_ = geteuid() == 0 && std::system(command.c_str()) == 0;
    }
    ~SmallVolume() {
        if (mounted_) std::system(("umount '" + where_ + "'").c_str());
    }
    bool mounted() const { return mounted_; }

    // Writes into a filler file until the volume is full.
    void Fill() const {
        std::ofstream filler(where_ + "/filler", std::ios::binary);
        std::string block(1024, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
            filler.flush();
        }
    }

private:
    std::string where_;
    bool mounted_ = false;
};

}  // namespace

TEST(IniFileWrite, FullVolumeLeavesOldFileIntact) {
    test::TestDir dir;
    SmallVolume volume(dir.Path("volume"));
    if (!volume.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here";
    const std::string original = "[A]\nx=1\n";
    std::string path = dir.CreateFile("volume/f.ini", original);
    volume.Fill();
    test::ScriptedDesktop desktop;
    TIniFile ini(path);

    Status written = ini.WriteString("A", "x", std::string(8192, 'y'));
    test::Shown(written, desktop);

    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().code, ENOSPC) << written.error().message;
    EXPECT_EQ(dir.ReadFile("volume/f.ini"), original);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Unable to write to " + path});
    EXPECT_EQ(Names(dir.Path("volume")), (std::vector<std::string>{"f.ini", "filler"}));
}

namespace {

bool HavePython() { return std::system("command -v python3 >/dev/null 2>&1") == 0; }

// Runs a Python script with the given arguments and returns what it printed.
std::string RunPython(const test::TestDir& dir, const std::string& script,
                      const std::string& arguments) {
    std::ofstream(dir.Path("script.py")) << script;
    std::string command =
        "python3 '" + dir.Path("script.py") + "' " + arguments + " > '" + dir.Path("out.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir.ReadFile("out.txt");
}

const char* const kPythonDump =
    "import configparser, sys\n"
    "p = configparser.ConfigParser(interpolation=None)\n"
    "p.optionxform = str\n"
    "p.read(sys.argv[1])\n"
    "for s in p.sections():\n"
    "    for k, v in p.items(s):\n"
    "        print(f'{s}|{k}={v}')\n";

// The same listing as the Python script prints, made by reading with TIniFile.
std::string DumpWithIniFile(const TIniFile& ini, const std::vector<std::string>& sections) {
    std::ostringstream out;
    for (const auto& section : sections) {
        for (const auto& key : ini.ReadSection(section)) {
            out << section << "|" << key << "=" << ini.ReadString(section, key, "<none>") << "\n";
        }
    }
    return out.str();
}

}  // namespace

TEST(IniFilePython, PythonReadsWhatIniFileWrites) {
    if (!HavePython()) GTEST_SKIP() << "python3 is not on PATH";
    test::TestDir dir;
    TIniFile ini(dir.Path("f.ini"));
    ASSERT_TRUE(ini.WriteString("Settings", "SourceDir", "/home/ann/my data").ok());
    ASSERT_TRUE(ini.WriteString("Settings", "DestDir", "/mnt/back up").ok());
    ASSERT_TRUE(ini.WriteInteger("Options", "CopyBuffer", -131072).ok());
    ASSERT_TRUE(ini.WriteString("Options", "Exclude", "*.bak;*.t=mp;").ok());
    ASSERT_TRUE(ini.WriteString("Options", "Include", "").ok());
    ASSERT_TRUE(ini.WriteBool("Settings", "SyncAll", true).ok());

    std::string python = RunPython(dir, kPythonDump, "'" + ini.FileName() + "'");

    EXPECT_EQ(python, DumpWithIniFile(ini, {"Settings", "Options"}));
    EXPECT_NE(python.find("Options|Exclude=*.bak;*.t=mp;\n"), std::string::npos);
}

TEST(IniFilePython, IniFileReadsAndMergesWhatPythonWrites) {
    if (!HavePython()) GTEST_SKIP() << "python3 is not on PATH";
    test::TestDir dir;
    const char* const writer =
        "import configparser, sys\n"
        "p = configparser.ConfigParser(interpolation=None)\n"
        "p.optionxform = str\n"
        "p['Settings'] = {'SourceDir': '/home/ann/data', 'DestDir': '/mnt/b',\n"
        "                 'SyncAll': '1'}\n"
        "p['Options'] = {'Exclude': '*.bak;', 'Include': '', 'CopyBuffer': '0x8000'}\n"
        "with open(sys.argv[1], 'w') as f:\n"
        "    p.write(f)\n";
    RunPython(dir, writer, "'" + dir.Path("f.ini") + "'");
    TIniFile ini(dir.Path("f.ini"));

    EXPECT_EQ(ini.ReadString("Settings", "SourceDir", ""), "/home/ann/data");
    EXPECT_EQ(ini.ReadString("Options", "Include", "<none>"), "");
    EXPECT_EQ(ini.ReadInteger("Options", "CopyBuffer", 0), 32768);
    EXPECT_TRUE(ini.ReadBool("Settings", "SyncAll", false));

    // A merged key lands inside its section, which Python still sees.
    ASSERT_TRUE(ini.WriteString("Settings", "BatchDir", "/b.tfw").ok());
    ASSERT_TRUE(ini.WriteString("Options", "CopyBuffer", "65536").ok());
    std::string python = RunPython(dir, kPythonDump, "'" + ini.FileName() + "'");
    EXPECT_EQ(python, DumpWithIniFile(ini, {"Settings", "Options"}));
    EXPECT_NE(python.find("Settings|BatchDir=/b.tfw\n"), std::string::npos);
    EXPECT_NE(python.find("Options|CopyBuffer=65536\n"), std::string::npos);
}
