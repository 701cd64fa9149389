#pragma once

#include <string>

#include "log/LogList.h"
#include "platform/Result.h"

namespace twinfold {

// Writes `list` to `path` as text, every entry followed by "\r\n". The file
// is replaced in one step, so a failure leaves whatever was there before and
// no partial file. The error's message is the one the person is shown:
// "Cannot create file <path>" or "Stream write error".
Status WriteLogList(const LogList& list, const std::string& path);

}  // namespace twinfold
