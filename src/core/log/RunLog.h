#pragma once

#include "log/LogList.h"

namespace twinfold {

// What a run needs of the run log: the three lists it records outcomes in.
struct RunLog {
    LogList& copied;
    LogList& skipped;
    LogList& failed;
};

}  // namespace twinfold
