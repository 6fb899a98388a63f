#pragma once
// quillon-cli sweep: what-if counts over the quote cache. Writes no file.

// The exit status.
int SweepCommand(int argc, char** argv);
