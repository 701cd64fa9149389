#pragma once

#include <string>

#include "controls/Signal.h"
#include "controls/TForm.h"
#include "desktop/Desktop.h"
#include "log/LogList.h"

namespace twinfold {

// The run-log dialog. It owns the three outcome lists that the engine appends
// to; only "Clear" empties them. Each list can be saved as text, one entry per
// line ending in "\r\n".
class TLogFilebx : public TForm {
public:
    // The names each list is proposed under when it is saved.
    static constexpr const char* kSuccessFileName = "TFSuccess.txt";
    static constexpr const char* kOldFileName = "TFOlder.txt";
    static constexpr const char* kFailedFileName = "TFFailed.txt";

    explicit TLogFilebx(Desktop& desktop);

    LogList FileSuccess;
    LogList FileOld;
    LogList FileFailed;

    // OK: closes the dialog.
    void BitBtn1Click() { Close(); }
    // "Clear": empties all three lists, without asking.
    void BitBtn2Click();
    // "Save" beside each list: proposes the list's own file name every time.
    void SaveSuccessClick() { SaveList(FileSuccess, kSuccessFileName); }
    void SaveOldClick() { SaveList(FileOld, kOldFileName); }
    void SaveFailClick() { SaveList(FileFailed, kFailedFileName); }

    // Where Save As starts: the settings folder, then the folder last saved in.
    std::string saveDirectory;

private:
    // Asks for a file and writes `list` into it (WriteLogList); a failure is
    // shown in a message box.
    void SaveList(const LogList& list, const std::string& proposedName);

    Desktop& desktop_;
};

}  // namespace twinfold
