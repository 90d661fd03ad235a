#pragma once
// What a progress line needs to know about the terminal.

namespace quillon::platform {

// Standard error goes to a terminal (not a file or a pipe).
bool standardErrorIsTerminal();
// The terminal's width in columns; 80 when it cannot be told.
int terminalColumns();

}  // namespace quillon::platform
