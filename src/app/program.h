#pragma once
// The program's entry sequence, above the platform: start-up of the process-wide parts,
// the application title, the three windows, the message loop.
#include "framework/context.h"

namespace vsi {

class TApplication;

// Registers every class the window descriptions name (idempotent).
void RegisterAllClasses();

// Prepares the process-wide parts, sets the title and creates the three windows. An exception
// here is the caller's to show: the program cannot start.
void CreateProgram(TApplication& app);

// The whole program as its command line asks (the window, the report or the usage): returns
// the exit code. A failure before the message loop is shown in an error box and ends the
// program.
int RunProgram(AppContext& context);

}  // namespace vsi
