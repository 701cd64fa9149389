#pragma once

#include <Qt>

namespace twinfold::qt {

// A fixed dialog with a title, a system menu and a close box, nothing more.
inline constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

}  // namespace twinfold::qt
