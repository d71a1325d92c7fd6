#pragma once

// The headless mode: runs when an argument begins with "--" (or is -h). Returns the exit status.
int RunHeadless(int argc, char* argv[]);
