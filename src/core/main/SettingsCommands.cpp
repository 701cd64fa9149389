// The default settings file, loading and saving settings files, and Exit.
#include "controls/TForm.h"
#include "listing/Paths.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"

namespace twinfold {
namespace {

// Where a drive root stood, the file system's root.
const char* const kDefaultDirectory = "/";

// A settings file that cannot be written is the person's to know of.
Status Shown(Desktop& desktop, Status written) {
    if (!written) desktop.Failure(written.error().message);
    return written;
}

// What a first start records: where the panes are, nothing marked, saving on.
Status WriteFirstStart(TIniFile& file, const std::string& source, const std::string& dest) {
    return file.UpdateFile(IniUpdate()
                               .WriteString("Settings", "SourceDir", source)
                               .WriteString("Settings", "DestDir", dest)
                               .WriteBool("Settings", "SyncAll", false)
                               .WriteBool("Settings", "SelectAll", false)
                               .WriteBool("Settings", "SaveSettings", true));
}

FileDialog SettingsDialog(const std::string& directory, const char* filter) {
    FileDialog dialog;
    dialog.filter = filter;
    dialog.filterIndex = 1;
    dialog.defaultExtension = "ini";
    dialog.initialDirectory = directory;
    dialog.fileName = "tfoldw.ini";
    return dialog;
}

// "tfoldw1.ini", "tfoldw2.ini", ...: the first name nothing in `directory`
// has, so that Save As never proposes to overwrite.
std::string UnusedSettingsName(const std::string& directory) {
    for (int n = 1;; ++n) {
        const std::string name = "tfoldw" + std::to_string(n) + ".ini";
        if (!platform::QueryEntry(JoinPath(directory, name))) return name;
    }
}

}  // namespace

SyncSettings TMain::CurrentSettings() const {
    SyncSettings settings;
    settings.SourceDir = SourceDirListBox.Directory();
    settings.DestDir = DestDirListBox.Directory();
    settings.SaveSettings = SaveSettingsonExit.Checked();
    settings.BatchDir = currentBatchFile;
    settings.SyncAll = SyncAll.Checked();
    settings.SelectAll = cbSelectAll.Checked();
    Options().Collect(settings);
    settings.Filetype = EditFilter.ItemIndex() < 0 ? 0 : EditFilter.ItemIndex();
    settings.WindowWidth = windowWidth;
    settings.WindowHeight = windowHeight;
    return settings;
}

// A directory that cannot be entered is reported and ends the read there.
bool TMain::MovePanesTo(const SyncSettings& settings) {
    for (auto [pane, dir] : {std::pair{&SourceDirListBox, settings.SourceDir},
                             std::pair{&DestDirListBox, settings.DestDir}}) {
        if (Status moved = pane->SetDirectory(dir); !moved) {
            desktop_.Failure(moved.error().message);
            return false;
        }
    }
    return true;
}

SyncSettings TMain::FormCreate() {
    const auto restore = KeepCurrentDirectory();
    // Where it cannot be entered, relative paths resolve from where the program started.
    (void)platform::SetCurrentDirectory(programDir);
    currentBatchFile = programDir + "tfoldw.tfw";
    ShowSettingsFile(DefaultSettingsFile());
    TIniFile file(DefaultSettingsFile());
    SyncSettings stored;
    if (platform::QueryEntry(DefaultSettingsFile())) {
        SyncSettings defaults;
        defaults.SourceDir = defaults.DestDir = kDefaultDirectory;
        defaults.SaveSettings = true;
        defaults.BatchDir = currentBatchFile;
        stored = ReadSyncSettings(file, defaults);
        windowWidth = stored.WindowWidth;
        windowHeight = stored.WindowHeight;
        if (!MovePanesTo(stored)) return stored;
        SaveSettingsonExit.SetChecked(stored.SaveSettings);
        currentBatchFile = stored.BatchDir;
        SyncAll.SetChecked(stored.SyncAll);
        cbSelectAll.SetChecked(stored.SelectAll);
        EditFilter.SetItemIndex(stored.Filetype);
        return stored;
    }
    // First start here: record where the panes are. A preview writes nothing.
    if (dryRun) return stored;
    // The first failed write is shown; the start goes on without it.
    (void)Shown(desktop_,
                WriteFirstStart(file, SourceDirListBox.Directory(), DestDirListBox.Directory()));
    return stored;
}

void TMain::ApplyStartupFileType() {
    if (EditFilter.ItemIndex() < 0) return;
    const bool selectAll = cbSelectAll.Checked();
    EditFilterChange();
    // A re-read drops the marks that "SelectAll" asked for; they come back.
    if (selectAll && !cbSelectAll.Checked()) cbSelectAll.SetChecked(true);
}

void TMain::ApplyFileType(std::int32_t position) {
    EditFilter.SetItemIndex(position);
    // The panes just entered this directory; an unreadable one lists nothing.
    (void)FileList.Reload();
    EditFilterChange();
}

void TMain::LoadSettingsFile(const std::string& path) {
    if (path.empty()) return;
    TIniFile file(path);
    SyncSettings defaults;
    defaults.SourceDir = defaults.DestDir = kDefaultDirectory;
    defaults.BatchDir = programDir + "tfoldw.tfw";
    SyncSettings loaded = ReadSyncSettings(file, defaults);
    if (!MovePanesTo(loaded)) return;
    SaveSettingsonExit.SetChecked(loaded.SaveSettings);
    currentBatchFile = loaded.BatchDir;
    // The file's own patterns are in place before its file type lists.
    Options().Apply(loaded);
    ApplyFileType(loaded.Filetype);
    SyncAll.SetChecked(loaded.SyncAll);
    cbSelectAll.SetChecked(loaded.SelectAll);
    ShowSettingsFile(path);
}

void TMain::ShowSettingsFile(const std::string& path) {
    Caption.SetCaption(std::string(kAppTitle) + " - " + ExtractFileName(path));
}

void TMain::setChunkSizeForm(std::int32_t size) { Options().setChunkSizeForm(size); }

void TMain::LoadSettingsClick() {
    if (Running()) return;
    FileDialog dialog = SettingsDialog(
        SettingsFolder(), "All Files (*.*)|*.*|INI Files (*.ini)|*.ini|Text Files (*.txt)|*.txt");
    dialog.title = "Load Settings";
    dialog.mustExist = true;
    auto chosen = desktop_.OpenFile(dialog);
    if (!chosen) return;
    settingsFolder_ = ExtractFilePath(*chosen);
    LoadSettingsFile(*chosen);
}

void TMain::SaveDefaultSettings1Click() {
    // A failed save has been shown; nothing else depends on it.
    if (!Running()) (void)SaveDefaultSettings();
}

Status TMain::SaveDefaultSettings() {
    TIniFile file(DefaultSettingsFile());
    return Shown(desktop_, WriteSyncSettings(file, CurrentSettings()));
}

void TMain::SaveSettingsAs1Click() {
    if (Running()) return;
    FileDialog dialog = SettingsDialog(
        SettingsFolder(), "All Files (*.*)|*.*|Ini Files (*.ini)|*.ini|Text Files (*.txt)|*.txt");
    dialog.title = "Save Settings As";
    dialog.fileName = UnusedSettingsName(dialog.initialDirectory);
    dialog.confirmOverwrite = true;
    auto chosen = desktop_.SaveFile(dialog);
    if (!chosen) return;
    settingsFolder_ = ExtractFilePath(*chosen);
    TIniFile file(*chosen);
    if (Shown(desktop_, WriteSyncSettings(file, CurrentSettings()))) ShowSettingsFile(*chosen);
}

std::string TMain::SettingsFolder() const {
    return settingsFolder_.empty() ? programDir : settingsFolder_;
}

void TMain::SaveSettingsonExitClick() {
    SaveSettingsonExit.SetChecked(!SaveSettingsonExit.Checked());
    TIniFile file(DefaultSettingsFile());
    // A failed write is shown; the check mark still counts for Exit.
    (void)Shown(desktop_, file.WriteBool("Settings", "SaveSettings", SaveSettingsonExit.Checked()));
}

void TMain::Exit1Click() {
    if (FormCloseQuery()) OnClose();
}

bool TMain::FormCloseQuery() {
    if (Running()) return false;
    // Settings that could not be saved would be lost with the window: the
    // failure ends the command, as any failed write does.
    if (SaveSettingsonExit.Checked() && !SaveDefaultSettings().ok()) return false;
    desktop_.ShowHelp(-1);
    return true;
}

void TMain::Options1Click() {
    if (!Running()) links_->optionsWindow.ShowModal();
}

}  // namespace twinfold
