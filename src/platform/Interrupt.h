#pragma once

// Ctrl+C for a program that must stop between two files rather than in the
// middle of a copy: the signal only raises a flag, which the program polls.
namespace twinfold::platform {

// Catches SIGINT from now on. The first one raises the flag and gives the
// signal back its default action, so a second Ctrl+C ends the process at once.
void InstallInterruptFlag();

// True once a SIGINT was caught.
bool InterruptRequested();

}  // namespace twinfold::platform
