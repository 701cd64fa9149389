#pragma once

// A request to stop (Ctrl+C, a terminal hanging up, a polite kill) for a
// program that must stop between two steps rather than in the middle of a
// copy: the signal only raises a flag, which the program polls.
namespace twinfold::platform {

// Catches SIGINT, SIGTERM and SIGHUP from now on. The first one raises the
// flag and gives that signal back its default action, so a second one ends
// the process at once.
void InstallInterruptFlag();

// True once one of those signals was caught.
bool InterruptRequested();

}  // namespace twinfold::platform
