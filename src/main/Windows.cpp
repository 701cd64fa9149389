#include "main/Windows.h"

#include <utility>

namespace twinfold {

Windows::Windows(Desktop& desktop, std::string programDir)
    : main(desktop, std::move(programDir)), syncBox(desktop), logFile(desktop) {
    main.Link(syncBox, logFile, options);
}

}  // namespace twinfold
