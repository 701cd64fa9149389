#include "platform/Interrupt.h"

#include <signal.h>

#include <initializer_list>

namespace twinfold::platform {
namespace {

volatile sig_atomic_t interrupted = 0;

void RaiseFlag(int) { interrupted = 1; }

}  // namespace

void InstallInterruptFlag() {
    struct sigaction action {};
    action.sa_handler = RaiseFlag;
    sigemptyset(&action.sa_mask);
    // Restarted calls keep file operations free of spurious failures.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool InterruptRequested() { return interrupted != 0; }

}  // namespace twinfold::platform
