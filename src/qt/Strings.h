#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace twinfold::qt {

// Names are the file system's bytes; these keep names that are not valid
// UTF-8 intact on their way through the widgets.
inline QString ToQString(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

inline std::string FromQString(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

}  // namespace twinfold::qt
