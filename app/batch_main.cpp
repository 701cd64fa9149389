// twinfold-batch: runs a batch file without any window, for scripts and
// schedulers.
#include <string>
#include <vector>

#include "console/BatchConsole.h"

int main(int argc, char** argv) {
    return twinfold::RunBatchConsole(std::vector<std::string>(argv + 1, argv + argc));
}
