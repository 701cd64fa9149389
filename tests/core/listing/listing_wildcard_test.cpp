#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "listing/FileType.h"
#include "listing/NameOrder.h"
#include "listing/Wildcard.h"

using namespace twinfold;

namespace {

struct PatternCase {
    const char* label;
    const char* pattern;
    const char* name;
    bool matches;
};

const PatternCase kPatternCases[] = {
    {"star dot star, plain name", "*.*", "notes.txt", true},
    {"star dot star, name without dot", "*.*", "Makefile", true},
    {"star dot star, dot name", "*.*", ".profile", true},
    {"star dot star, two dots", "*.*", "a.tar.gz", true},
    {"extension, other case", "*.doc", "REPORT.DOC", true},
    {"extension, pattern upper", "*.TXT", "notes.txt", true},
    {"extension is not a prefix", "*.doc", "report.docx", false},
    {"extension needs its dot", "*.doc", "reportdoc", false},
    {"question mark is one character", "rep?rt.*", "report.txt", true},
    {"question mark needs a character", "??", "a", false},
    {"question mark, two-byte character", "?.txt", "\xc3\xa9.txt", true},
    {"question mark, three-byte character", "?.txt", "\xe2\x82\xac.txt", true},
    {"question mark, four-byte character", "?.txt", "\xf0\x9f\x98\x80.txt", true},
    {"question mark is not two characters", "?.txt", "\xc3\xa9\xc3\xa9.txt", false},
    {"question marks, two two-byte characters", "??", "\xc3\xa9\xc3\xa8", true},
    {"star then question mark", "*?x", "\xc3\xa9x", true},
    {"stray byte is one character", "?.txt", "\xff.txt", true},
    {"cut sequence is two characters", "?.txt", "\xc3\xc3.txt", false},
    {"overlong form is two characters", "?", "\xc0\xaf", false},
    {"stray byte matches only itself", "\xff*", "\xfe.txt", false},
    {"stray byte equal", "a\xff.txt", "A\xff.TXT", true},
    {"question marks exact count", "??", "ab", true},
    {"question mark not two", "?", "ab", false},
    {"any extension, bare name", "report.*", "report", true},
    {"any extension, longer name", "report.*", "reports", false},
    {"any extension, with extension", "report.*", "Report.old", true},
    {"bare name rule needs no dot", "*x.*", "a.x", false},
    {"bracket is ordinary", "[a].txt", "[a].txt", true},
    {"bracket is not a set", "[a].txt", "a.txt", false},
    {"several stars", "a*b*c", "aXXbYYc", true},
    {"several stars, missing tail", "a*b*c", "aXXbYY", false},
    {"star at the end", "data*", "database.db", true},
    {"lone star", "*", "anything at all", true},
    {"empty pattern", "", "a", false},
    {"plain text exact", "Read Me.txt", "read me.TXT", true},
    {"utf-8 bytes equal", "\xc3\xa9t\xc3\xa9.txt", "\xc3\xa9t\xc3\xa9.txt", true},
    {"utf-8 not folded", "\xc3\x89T\xc3\x89.txt", "\xc3\xa9t\xc3\xa9.txt", false},
};

}  // namespace

TEST(ListingWildcard, MatchesTheTableOfPatterns) {
    for (const auto& c : kPatternCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches)
            << "pattern '" << c.pattern << "' name '" << c.name << "'";
    }
}

TEST(ListingWildcard, ManyStarsAgainstALongNameStayFast) {
    // A backtracking matcher would need exponential time here.
    std::string name(5000, 'a');
    std::string pattern;
    for (int i = 0; i < 40; ++i) pattern += "*a";
    EXPECT_TRUE(MatchesPattern(name, pattern));
    EXPECT_FALSE(MatchesPattern(name, pattern + "b"));
    EXPECT_FALSE(MatchesPattern(name, pattern + "*b.*"));
}

TEST(ListingFileType, SetsAndAttributeWords) {
    const TFileType everyFile{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem,
                              TFileAttr::ftNormal};
    EXPECT_EQ(everyFile.AttributeWord(), 7u);
    EXPECT_EQ(TFileType{TFileAttr::ftNormal}.AttributeWord(), 0u);
    EXPECT_EQ((TFileType{TFileAttr::ftDirectory, TFileAttr::ftArchive}.AttributeWord()), 48u);
    EXPECT_EQ(TFileType{TFileAttr::ftVolumeID}.AttributeWord(), 8u);
    EXPECT_EQ(TFileType{}.AttributeWord(), 0u);

    TFileType type{TFileAttr::ftNormal};
    EXPECT_TRUE(type.Contains(TFileAttr::ftNormal));
    EXPECT_FALSE(type.Contains(TFileAttr::ftHidden));
    type.Insert(TFileAttr::ftHidden);
    EXPECT_TRUE(type.Contains(TFileAttr::ftHidden));
    EXPECT_NE(type, TFileType{TFileAttr::ftNormal});
    EXPECT_EQ(type, (TFileType{TFileAttr::ftHidden, TFileAttr::ftNormal}));
    type.Erase(TFileAttr::ftHidden);
    type.Erase(TFileAttr::ftHidden);
    EXPECT_EQ(type, TFileType{TFileAttr::ftNormal});
}

TEST(ListingNameOrder, IgnoresCaseAndBreaksTiesByBytes) {
    std::vector<std::string> names = {"b", "Z", "a", "B", "_x", "[d]", "A", "a1"};
    std::sort(names.begin(), names.end(), ListedBefore);
    EXPECT_EQ(names, (std::vector<std::string>{"[d]", "_x", "A", "a", "a1", "B", "b", "Z"}));
    EXPECT_FALSE(ListedBefore("same", "same"));
}
