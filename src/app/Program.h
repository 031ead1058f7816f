#pragma once

// The program's entry: single instance, opening password, main window, and
// the message loop until the main window closes.  Returns the exit code.
int RunProgram(int argc, char *argv[]);
