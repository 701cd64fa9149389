#include "settings/SyncSettings.h"

#include <algorithm>

namespace twinfold {
namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kOptions = "Options";

}  // namespace

SyncSettings ReadSyncSettings(const TIniFile& file, const SyncSettings& defaults) {
    SyncSettings read;
    read.SourceDir = file.ReadString(kSettings, "SourceDir", defaults.SourceDir);
    read.DestDir = file.ReadString(kSettings, "DestDir", defaults.DestDir);
    read.SaveSettings = file.ReadBool(kSettings, "SaveSettings", defaults.SaveSettings);
    read.BatchDir = file.ReadString(kSettings, "BatchDir", defaults.BatchDir);
    read.SyncAll = file.ReadBool(kSettings, "SyncAll", defaults.SyncAll);
    read.SelectAll = file.ReadBool(kSettings, "SelectAll", defaults.SelectAll);
    read.Exclude = file.ReadString(kOptions, "Exclude", defaults.Exclude);
    read.Include = file.ReadString(kOptions, "Include", defaults.Include);
    read.CopyBuffer =
        UsableCopyBufferSize(file.ReadInteger(kOptions, "CopyBuffer", defaults.CopyBuffer));
    read.Filetype = file.ReadInteger(kOptions, "Filetype", defaults.Filetype);
    read.WindowWidth =
        std::max(0, file.ReadInteger(kSettings, "WindowWidth", defaults.WindowWidth));
    read.WindowHeight =
        std::max(0, file.ReadInteger(kSettings, "WindowHeight", defaults.WindowHeight));
    return read;
}

Status WriteSyncSettings(TIniFile& file, const SyncSettings& s) {
    IniUpdate update;
    update.WriteString(kSettings, "SourceDir", s.SourceDir)
        .WriteString(kSettings, "DestDir", s.DestDir)
        .WriteBool(kSettings, "SaveSettings", s.SaveSettings)
        .WriteString(kSettings, "BatchDir", s.BatchDir)
        .WriteBool(kSettings, "SyncAll", s.SyncAll)
        .WriteBool(kSettings, "SelectAll", s.SelectAll)
        .WriteInteger(kSettings, "WindowWidth", s.WindowWidth)
        .WriteInteger(kSettings, "WindowHeight", s.WindowHeight)
        .WriteString(kOptions, "Exclude", s.Exclude)
        .WriteString(kOptions, "Include", s.Include)
        .WriteInteger(kOptions, "CopyBuffer", s.CopyBuffer)
        .WriteInteger(kOptions, "Filetype", s.Filetype);
    return file.UpdateFile(update);
}

}  // namespace twinfold
