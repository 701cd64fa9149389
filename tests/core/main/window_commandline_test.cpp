// The window program's command line: a batch file, --help and --version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Version.h"
#include "main/CommandLine.h"

using namespace twinfold;

namespace {

TEST(WindowCommandLineTest, TheFirstArgumentNamesTheBatchUnlessItAsksForInformation) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool batchGiven;
        std::string batchFile;
        bool help;
        bool version;
    };
    const Case cases[] = {
        {"nothing: the window opens", {}, false, "", false, false},
        {"a batch file", {"/jobs/night.tfw"}, true, "/jobs/night.tfw", false, false},
        {"further arguments are ignored",
         {"a.tfw", "b.tfw", "--bogus"},
         true,
         "a.tfw",
         false,
         false},
        {"an empty argument still names a batch", {""}, true, "", false, false},
        {"a lone hyphen is a file name", {"-"}, true, "-", false, false},
        {"-- lets a file start with a hyphen",
         {"--", "-night.tfw"},
         true,
         "-night.tfw",
         false,
         false},
        {"-- with nothing after it", {"--"}, false, "", false, false},
        {"help", {"--help"}, false, "", true, false},
        {"short help", {"-h"}, false, "", true, false},
        {"version", {"--version"}, false, "", false, true},
        {"version after the file is a further argument",
         {"a.tfw", "--version"},
         true,
         "a.tfw",
         false,
         false},
        {"version after -- is a file", {"--", "--version"}, true, "--version", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto line = ParseWindowCommandLine(c.args);
        ASSERT_TRUE(line.ok()) << line.error().message;
        EXPECT_EQ(line.value().batchGiven, c.batchGiven);
        EXPECT_EQ(line.value().batchFile, c.batchFile);
        EXPECT_EQ(line.value().help, c.help);
        EXPECT_EQ(line.value().version, c.version);
    }
}

TEST(WindowCommandLineTest, AnUnknownOptionIsNamedAndTheTextsEndInALineBreak) {
    auto line = ParseWindowCommandLine({"--fast", "a.tfw"});
    ASSERT_FALSE(line.ok());
    EXPECT_EQ(line.error().message, "unknown option --fast");

    const std::string usage = WindowUsage();
    EXPECT_EQ(usage.rfind("Usage: twinfold ", 0), 0u);
    EXPECT_EQ(usage.back(), '\n');
    EXPECT_EQ(VersionLine("twinfold"), std::string("twinfold ") + kVersion + "\n");
}

}  // namespace
