#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/TAboutBox.h"
#include "about/TSpecialBox.h"

using namespace twinfold;

namespace {

// Records each notification as the visibility it announced.
template <typename Box>
class ShowLog {
public:
    explicit ShowLog(Box& box) {
        watching = box.OnShowChange.Connect([this, &box] { seen.push_back(box.Visible()); });
    }
    std::vector<bool> seen;
    Connection watching;
};

// Both dialogs announce every change of visibility once, and only changes.
template <typename Box>
void ExpectShowCloseContract(Box& box) {
    ShowLog<Box> log(box);
    EXPECT_FALSE(box.Visible());
    box.Close();
    box.Show();
    box.Show();
    EXPECT_TRUE(box.Visible());
    box.Close();
    box.Close();
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(log.seen, (std::vector<bool>{true, false}));
}

}  // namespace

TEST(SpecialBox, ShowsItsTextUnscrambled) {
    TSpecialBox special;
    special.Show();

    const std::string& text = special.txt.Caption();
    ASSERT_EQ(text.size(), TSpecialBox::kTextLength);
    EXPECT_EQ(text.size(), 53u);
    for (char c : text) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(c >= ' ' && c <= '~') << "not a plain printable character: " << int(c);
    }
    EXPECT_NE(text.find(' '), std::string::npos) << "a text of words, not noise";
}

TEST(SpecialBox, StoresTheTextScrambledWithOneByteKey) {
    TSpecialBox special;
    special.FormShow();
    const std::string& text = special.txt.Caption();
    auto stored = TSpecialBox::StoredText();
    ASSERT_EQ(stored.size(), text.size());

    // Every stored byte differs from the shown one, always by the same key.
    const unsigned key = stored[0] ^ static_cast<unsigned char>(text[0]);
    EXPECT_NE(key, 0u);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stored[i] ^ static_cast<unsigned char>(text[i]), key);
    }
    EXPECT_NE(std::string(stored.begin(), stored.end()), text);
}

TEST(SpecialBox, EveryShowingUnscramblesAFreshCopy) {
    TSpecialBox special;
    const auto stored = TSpecialBox::StoredText();
    const std::vector<unsigned char> before(stored.begin(), stored.end());

    special.Show();
    const std::string first = special.txt.Caption();
    special.Close();
    special.txt.SetCaption("overwritten while hidden");
    special.Show();
    EXPECT_EQ(special.txt.Caption(), first);
    special.Close();
    special.FormShow();
    special.FormShow();
    EXPECT_EQ(special.txt.Caption(), first);

    const auto after = TSpecialBox::StoredText();
    EXPECT_EQ(std::vector<unsigned char>(after.begin(), after.end()), before);
}

TEST(SpecialBox, TextIsInPlaceBeforeTheShowIsAnnounced) {
    TSpecialBox special;
    std::string drawn;
    const Connection specialShowChange = special.OnShowChange.Connect([&] {
        if (special.Visible()) drawn = special.txt.Caption();
    });
    special.Show();
    EXPECT_EQ(drawn.size(), TSpecialBox::kTextLength);
}

TEST(SpecialBox, AnnouncesOnlyChangesOfVisibility) {
    TSpecialBox special;
    ExpectShowCloseContract(special);
}

TEST(AboutBox, AnnouncesOnlyChangesOfVisibility) {
    TAboutBox about;
    ExpectShowCloseContract(about);
}

TEST(AboutBox, ShowsProductVersionAndContacts) {
    TAboutBox about;
    EXPECT_EQ(TAboutBox::kCaption, std::string("About"));
    EXPECT_EQ(about.ProductName.Caption(), "Twinfold for Windows");
    EXPECT_EQ(about.Version.Caption(), "Version 1.87");
    for (const TLabel* line : {&about.Copyright, &about.Address, &about.EMail}) {
        SCOPED_TRACE(line->Caption());
        EXPECT_FALSE(line->Caption().empty());
    }
    EXPECT_NE(about.EMail.Caption().find('@'), std::string::npos);
}

TEST(AboutBox, OkClosesTheBox) {
    TAboutBox about;
    ShowLog log(about);
    about.Show();
    about.OKButtonClick();
    EXPECT_FALSE(about.Visible());
    EXPECT_EQ(log.seen, (std::vector<bool>{true, false}));
}

TEST(AboutBox, DoubleClickOnTheSpotShowsSpecialOverTheOpenBox) {
    TAboutBox about;
    TSpecialBox special;
    about.LinkSpecial(special);
    about.Show();

    about.Panel2DblClick();
    EXPECT_TRUE(special.Visible());
    EXPECT_TRUE(about.Visible());
    EXPECT_EQ(special.txt.Caption().size(), TSpecialBox::kTextLength);

    // Closing the Special dialog returns to the About box, still open.
    special.Close();
    EXPECT_TRUE(about.Visible());

    const std::string first = special.txt.Caption();
    about.Panel2DblClick();
    EXPECT_TRUE(special.Visible());
    EXPECT_EQ(special.txt.Caption(), first);
}

TEST(AboutBox, DoubleClickWithoutSpecialDialogDoesNothing) {
    TAboutBox about;
    about.Show();
    about.Panel2DblClick();
    EXPECT_TRUE(about.Visible());
}
