#pragma once

#include <sys/types.h>

// Run inside a child between fork and exec (QProcess::setChildProcessModifier): the child gets a
// process group of its own, so a terminal's Ctrl+C reaches only the program and the program can
// end the child with everything it started; and it dies with the program, even one killed
// outright. `program` is the program's pid, taken before the fork.
void BindChildToProgram(pid_t program);
