#pragma once

#include <cstdint>
#include <string>

#include "platform/Result.h"
#include "settings/CopyBufferSize.h"
#include "settings/TIniFile.h"

namespace twinfold {

// The values a settings file carries, named as their keys.
struct SyncSettings {
    std::string SourceDir;
    std::string DestDir;
    bool SaveSettings = false;
    std::string BatchDir;
    bool SyncAll = false;
    bool SelectAll = false;
    std::string Exclude;
    std::string Include;
    std::int32_t CopyBuffer = kDefaultCopyBufferSize;
    std::int32_t Filetype = 0;
    // The main window's size as it was left; 0 (an older file) opens it at
    // its least size.
    std::int32_t WindowWidth = 0;
    std::int32_t WindowHeight = 0;
};

// Each key as the file holds it, or the value in `defaults` when the key is
// missing or unreadable. This is the one reading of a settings file: the
// start-up read, loading a file and every batch entry use it. A buffer size
// of zero or less reads as 32768; a window size below zero reads as 0.
SyncSettings ReadSyncSettings(const TIniFile& file, const SyncSettings& defaults);

// Writes every key in one replacement of the file, so a failed save
// leaves the old file whole (the file reports the failure). A text that
// cannot be stored (a line end or NUL in it) is refused and nothing is
// written.
Status WriteSyncSettings(TIniFile& file, const SyncSettings& settings);

}  // namespace twinfold
