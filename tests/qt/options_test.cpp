#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "Screenshot.h"
#include "qt/OptionsView.h"
#include "settings/TOptionsbx.h"

using namespace twinfold;
using twinfold::qt::OptionsView;
using twinfold::test::SaveScreenshot;
using Patterns = std::vector<std::string>;

namespace {

QStringList TextsOf(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

// A radio button reacts on its indicator and caption only.
void ClickRadio(QRadioButton& radio) {
    QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(4, radio.height() / 2));
}

void DoubleClickRow(QListWidget& list, int row) {
    QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

// The dialog with its model, shown as the main window's menu shows it.
struct ShownOptions {
    ShownOptions() : view(model) {
        model.ShowModal();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    template <typename T>
    T& Find(const char* name) {
        auto* widget = view.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    TOptionsbx model;
    OptionsView view;
};

}  // namespace

TEST(OptionsView, ShowsTheControlsAtTheirPlacesUnclipped) {
    ShownOptions shown;
    auto& view = shown.view;
    EXPECT_EQ(view.windowTitle(), "Options");
    EXPECT_GE(view.Scale(), 1.0);
    EXPECT_EQ(view.size(), QSize(qCeil(355 * view.Scale()), qCeil(268 * view.Scale())));
    EXPECT_EQ(view.minimumSize(), view.maximumSize()) << "fixed size";

    QStringList labels;
    for (auto* label : view.findChildren<QLabel*>()) {
        labels << label->text();
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->sizeHint().width(), label->width());
        EXPECT_LE(label->fontMetrics().height(), label->height());
    }
    labels.sort();
    EXPECT_EQ(labels, QStringList({"Exclude Filters:", "Exclude:", "Include Filters:", "Include:",
                                   "These patterns apply when the file type is Custom."}));
    for (auto* button : view.findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        int glyph = button->icon().isNull() ? 0 : button->iconSize().width();
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + glyph, button->width());
        EXPECT_FALSE(button->autoDefault());
    }
    EXPECT_FALSE(shown.Find<QPushButton>("Ok").icon().isNull());
    EXPECT_FALSE(shown.Find<QPushButton>("Cancel").icon().isNull());
    EXPECT_FALSE(shown.Find<QPushButton>("Clear").icon().isNull());
    for (auto* radio : view.findChildren<QRadioButton*>()) {
        SCOPED_TRACE(radio->text().toStdString());
        EXPECT_LE(radio->sizeHint().width(), radio->width());
        EXPECT_TRUE(radio->parentWidget()->rect().contains(radio->geometry()));
    }
    for (auto* widget : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(view.rect().contains(widget->geometry())) << widget->objectName().toStdString();
    }
    auto& group = shown.Find<QGroupBox>("CopyBuffer");
    EXPECT_EQ(group.title(), "Copy Buffer Size");
    EXPECT_EQ(group.toolTip(), "Change buffer size");
    EXPECT_EQ(shown.Find<QListWidget>("IncludeList").toolTip(), "DoubleClick to Remove");
    EXPECT_EQ(shown.Find<QListWidget>("ExcludeList").toolTip(), "DoubleClick to Remove");
    EXPECT_TRUE(shown.Find<QRadioButton>("Mem32K").isChecked());
    EXPECT_EQ(shown.Find<QRadioButton>("Mem32K").text(), "32K (default)");
    EXPECT_EQ(shown.Find<QRadioButton>("Mem1mb").text(), "1 MB");
}

TEST(OptionsView, TabOrderFollowsTheControls) {
    ShownOptions shown;
    const char* order[] = {"EditInclude", "AddInclude", "EditExclude", "AddExclude", "IncludeList",
                           "ExcludeList", "Mem32K",     "Mem128K",     "Mem256k",    "Mem512k",
                           "Mem1mb",      "Ok",         "Cancel",      "Clear"};
    QWidget* first = &shown.Find<QLineEdit>("EditInclude");
    std::vector<std::string> chain{first->objectName().toStdString()};
    for (QWidget* widget = first->nextInFocusChain(); widget != first;
         widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain.push_back(widget->objectName().toStdString());
    }
    EXPECT_EQ(chain, std::vector<std::string>(std::begin(order), std::end(order)));
}

TEST(OptionsView, EditingThroughTheWidgetsDrivesTheModel) {
    ShownOptions shown;
    auto& model = shown.model;
    auto& editInclude = shown.Find<QLineEdit>("EditInclude");
    auto& editExclude = shown.Find<QLineEdit>("EditExclude");
    auto& includeList = shown.Find<QListWidget>("IncludeList");
    auto& excludeList = shown.Find<QListWidget>("ExcludeList");

    QTest::keyClicks(&editInclude, "*.txt");
    QTest::mouseClick(&shown.Find<QPushButton>("AddInclude"), Qt::LeftButton);
    EXPECT_EQ(model.EditInclude.Text(), "*.txt");
    editInclude.selectAll();
    QTest::keyClicks(&editInclude, "*.doc");
    QTest::keyClick(&editInclude, Qt::Key_Return);
    QTest::keyClicks(&editExclude, "*.bak");
    QTest::keyClick(&editExclude, Qt::Key_Enter);
    QTest::mouseClick(&shown.Find<QPushButton>("AddExclude"), Qt::LeftButton);
    EXPECT_EQ(model.IncludeList.Items(), (Patterns{"*.txt", "*.doc"}));
    EXPECT_EQ(model.ExcludeList.Items(), Patterns{"*.bak"}) << "no pattern twice";
    EXPECT_EQ(TextsOf(includeList), QStringList({"*.txt", "*.doc"}));
    EXPECT_EQ(editExclude.text(), "*.bak") << "the edit keeps its text";
    EXPECT_TRUE(shown.view.isVisible()) << "Enter does not close the dialog";

    DoubleClickRow(includeList, 1);
    EXPECT_EQ(model.IncludeList.Items(), Patterns{"*.txt"});
    EXPECT_EQ(TextsOf(includeList), QStringList({"*.txt"}));
    SaveScreenshot(shown.view, "options.png");
    excludeList.setFocus();
    QTest::keyClick(&excludeList, Qt::Key_Delete);
    EXPECT_EQ(model.ExcludeList.Count(), 0);

    ClickRadio(shown.Find<QRadioButton>("Mem512k"));
    EXPECT_EQ(model.CopyBufferSize(), 524288);
    EXPECT_EQ(model.CheckedButton(), CopyBufferButton::Mem512k);

    QTest::mouseClick(&shown.Find<QPushButton>("Ok"), Qt::LeftButton);
    EXPECT_EQ(model.includeFilters(), "*.txt;");
    EXPECT_EQ(model.excludeFilters(), "");
    EXPECT_FALSE(model.Visible());
    EXPECT_FALSE(shown.view.isVisible());
    EXPECT_EQ(shown.view.result(), QDialog::Accepted);
}

// Every way out but OK leaves the patterns as they were, in the lists too.
TEST(OptionsView, EscapeCancelAndTheCloseBoxKeepThePatterns) {
    for (const std::string way : {"Escape", "Cancel", "close box"}) {
        SCOPED_TRACE(way);
        ShownOptions shown;
        SyncSettings old;
        old.Include = "*.old;";
        shown.model.Apply(old);
        auto& edit = shown.Find<QLineEdit>("EditInclude");
        auto& list = shown.Find<QListWidget>("IncludeList");
        QTest::keyClicks(&edit, "*.new");
        QTest::mouseClick(&shown.Find<QPushButton>("AddInclude"), Qt::LeftButton);
        list.setFocus();
        list.setCurrentRow(0);
        QTimer::singleShot(0, &list, [] {  // "Remove", the menu's one entry
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        });
        QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_EQ(TextsOf(list), QStringList({"*.new"}));
        if (way == "Escape") QTest::keyClick(&edit, Qt::Key_Escape);
        if (way == "Cancel") QTest::mouseClick(&shown.Find<QPushButton>("Cancel"), Qt::LeftButton);
        if (way == "close box") shown.view.close();
        EXPECT_FALSE(shown.view.isVisible());
        EXPECT_EQ(shown.model.ModalResult, TOptionsbx::kModalCancel);
        EXPECT_EQ(shown.model.includeFilters(), "*.old;");
        shown.model.ShowModal();
        EXPECT_EQ(TextsOf(list), QStringList({"*.old"}));
    }
}

TEST(OptionsView, FollowsChangesTheProgramMakes) {
    ShownOptions shown;
    auto& model = shown.model;
    model.setChunkSizeForm(1048576);
    EXPECT_TRUE(shown.Find<QRadioButton>("Mem1mb").isChecked());
    model.setChunkSizeForm(100000);
    EXPECT_TRUE(shown.Find<QRadioButton>("Mem1mb").isChecked());
    SyncSettings loaded;
    loaded.Include = "*.a;;*.b;";
    loaded.Exclude = "x;";
    loaded.CopyBuffer = 100000;
    model.Apply(loaded);
    EXPECT_EQ(TextsOf(shown.Find<QListWidget>("IncludeList")), QStringList({"*.a", "", "*.b"}));
    EXPECT_EQ(TextsOf(shown.Find<QListWidget>("ExcludeList")), QStringList({"x"}));
    model.IncludeList.SetItemIndex(2);
    EXPECT_EQ(shown.Find<QListWidget>("IncludeList").currentRow(), 2);
}
