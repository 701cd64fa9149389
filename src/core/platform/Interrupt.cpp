#include "platform/Interrupt.h"

#include <signal.h>

#include <atomic>
#include <initializer_list>

namespace twinfold::platform {
namespace {

// Lock-free, so the handler may set it and every thread may read it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void RaiseFlag(int) { interrupted.store(true); }

}  // namespace

void InstallInterruptFlag() {
    struct sigaction action {};
    action.sa_handler = RaiseFlag;
    sigemptyset(&action.sa_mask);
    // Restarted calls keep file operations free of spurious failures.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool InterruptRequested() { return interrupted.load(); }

}  // namespace twinfold::platform
