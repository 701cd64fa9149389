#pragma once

#include "listing/TDirectoryListBox.h"
#include "listing/TFileListBox.h"
#include "main/TMain.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <string>

#include "qt/DirectoryListView.h"
#include "qt/FileListView.h"
#include "qt/MainWindow.h"

// One check that a list on screen is its model, run after every step of the
// window tests: a view that falls behind its model marks other files than
// the ones a person clicks.
namespace twinfold::test {

inline std::string RowText(const QListWidget& view, int row) {
    return view.item(row)->text().toStdString();
}

// One row per entry, in order, with the entry's text; a row is selected
// exactly when its entry is marked.
inline ::testing::AssertionResult ViewMatchesModel(const QListWidget& view,
                                                   const TFileListBox& model) {
    if (view.count() != model.Count()) {
        return ::testing::AssertionFailure()
               << view.count() << " rows on screen, " << model.Count() << " entries";
    }
    for (int row = 0; row < view.count(); ++row) {
        const auto& entry = model.Items()[static_cast<std::size_t>(row)];
        if (RowText(view, row) != entry.text) {
            return ::testing::AssertionFailure() << "row " << row << " shows " << RowText(view, row)
                                                 << ", entry is " << entry.text;
        }
        if (view.item(row)->isSelected() != entry.selected) {
            return ::testing::AssertionFailure()
                   << "row " << row << " (" << entry.text << ") selected on screen "
                   << view.item(row)->isSelected() << ", marked " << entry.selected;
        }
    }
    return ::testing::AssertionSuccess();
}

// One row per entry with its text; the current row is the selected entry.
inline ::testing::AssertionResult ViewMatchesModel(const QListWidget& view,
                                                   const TDirectoryListBox& model) {
    if (view.count() != model.Count()) {
        return ::testing::AssertionFailure()
               << view.count() << " rows on screen, " << model.Count() << " entries";
    }
    for (int row = 0; row < view.count(); ++row) {
        if (RowText(view, row) != model.Items()[static_cast<std::size_t>(row)].text) {
            return ::testing::AssertionFailure()
                   << "row " << row << " shows " << RowText(view, row);
        }
    }
    if (view.currentRow() != model.ItemIndex()) {
        return ::testing::AssertionFailure()
               << "row " << view.currentRow() << " current, entry " << model.ItemIndex();
    }
    return ::testing::AssertionSuccess();
}

// The main window's three lists, its summary and its select-all box show the
// model; the summary counts the marks the model holds.
inline ::testing::AssertionResult WindowMatchesModel(const qt::MainWindow& window,
                                                     const TMain& main) {
    if (auto files = ViewMatchesModel(*window.fileList(), main.FileList); !files) {
        return files << " (file list)";
    }
    if (auto source = ViewMatchesModel(*window.sourcePane(), main.SourceDirListBox); !source) {
        return source << " (source pane)";
    }
    if (auto dest = ViewMatchesModel(*window.destPane(), main.DestDirListBox); !dest) {
        return dest << " (destination pane)";
    }
    const std::string count = window.countLabel()->text().toStdString();
    const std::string refreshed = "Total Files Selected: ";
    if (count.rfind(refreshed, 0) == 0 &&
        count != refreshed + std::to_string(main.FileList.SelCount())) {
        return ::testing::AssertionFailure()
               << "\"" << count << "\" with " << main.FileList.SelCount() << " marked";
    }
    if (window.sizeLabel()->text().toStdString() != main.selsize.Caption()) {
        return ::testing::AssertionFailure() << "size label differs from its model";
    }
    if (window.selectAllBox()->isChecked() != main.cbSelectAll.Checked()) {
        return ::testing::AssertionFailure() << "select-all box differs from its model";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace twinfold::test
