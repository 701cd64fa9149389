#include "settings/SyncSettings.h"

#include <utility>

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
    return read;
}

Status WriteSyncSettings(TIniFile& file, const SyncSettings& s) {
    // Every text is checked before the first key is written, so a value that
    // cannot be stored leaves the file as it was.
    for (const auto& [key, value] :
         {std::pair{"SourceDir", &s.SourceDir}, std::pair{"DestDir", &s.DestDir},
          std::pair{"BatchDir", &s.BatchDir}, std::pair{"Exclude", &s.Exclude},
          std::pair{"Include", &s.Include}}) {
        if (!TIniFile::IsWritableValue(*value)) return file.RefuseValue(key);
    }
    if (Status w = file.WriteString(kSettings, "SourceDir", s.SourceDir); !w) return w;
    if (Status w = file.WriteString(kSettings, "DestDir", s.DestDir); !w) return w;
    if (Status w = file.WriteBool(kSettings, "SaveSettings", s.SaveSettings); !w) return w;
    if (Status w = file.WriteString(kSettings, "BatchDir", s.BatchDir); !w) return w;
    if (Status w = file.WriteBool(kSettings, "SyncAll", s.SyncAll); !w) return w;
    if (Status w = file.WriteBool(kSettings, "SelectAll", s.SelectAll); !w) return w;
    if (Status w = file.WriteString(kOptions, "Exclude", s.Exclude); !w) return w;
    if (Status w = file.WriteString(kOptions, "Include", s.Include); !w) return w;
    if (Status w = file.WriteInteger(kOptions, "CopyBuffer", s.CopyBuffer); !w) return w;
    return file.WriteInteger(kOptions, "Filetype", s.Filetype);
}

}  // namespace twinfold
