#include "main/Windows.h"

#include <utility>

namespace twinfold {

Windows::Windows(Desktop& desktop, std::string programDir)
    : main(desktop, std::move(programDir)), deleteBox(desktop), syncBox(desktop), logFile(desktop) {
    main.Link(syncBox, logFile, options);
    deleteBox.Link(main.SourceDirListBox, main.DestDirListBox);
    main.Link(deleteBox);
}

}  // namespace twinfold
