#pragma once

// What the console program needs to know about its standard streams.
namespace twinfold::platform {

enum class StandardStream { Input, Output, Error };

// True when the stream is connected to a terminal.
bool IsTerminal(StandardStream stream);

// The width of the terminal on standard error in characters; 80 when it
// cannot be told.
int TerminalColumns();

}  // namespace twinfold::platform
