// twinfold-batch: runs a batch file without any window, for scripts and
// schedulers.
#include <iostream>
#include <string>
#include <vector>

#include "console/BatchCommandLine.h"
#include "console/BatchConsole.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The version is answered here, before the batch run is set up at all.
    if (auto line = twinfold::ParseBatchCommandLine(arguments); line && line.value().version) {
        std::cout << twinfold::BatchVersion();
        return 0;
    }
    return twinfold::RunBatchConsole(arguments);
}
