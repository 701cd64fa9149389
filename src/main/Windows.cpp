#include "main/Windows.h"

#include <utility>

namespace twinfold {

Windows::Windows(Desktop& desktop, std::string programDir)
    : main(desktop, std::move(programDir)), syncBox(desktop), logFile(desktop) {
    main.Link(*this);
    about.LinkSpecial(special);
}

}  // namespace twinfold
