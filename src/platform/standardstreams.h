#pragma once

// Opens /dev/null on standard input, output and error where they are closed (a launcher may
// start the program so). Otherwise the next file or connection opened takes their number, and
// any library writing to "standard error" or closing "standard input" hits it instead.
void EnsureStandardStreams();
