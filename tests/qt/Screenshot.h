#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QString>
#include <QWidget>

namespace twinfold::test {

// Saves what `widget` shows as build/screenshots/<name>, for a person to look at.
inline void SaveScreenshot(QWidget& widget, const QString& name) {
    QDir dir(TWINFOLD_SCREENSHOT_DIR);
    ASSERT_TRUE(dir.mkpath("."));
    EXPECT_TRUE(widget.grab().save(dir.filePath(name)));
}

inline void SaveScreenshot(QWidget* widget, const QString& name) { SaveScreenshot(*widget, name); }

}  // namespace twinfold::test
