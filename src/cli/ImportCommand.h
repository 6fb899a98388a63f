#pragma once
// `quillon-cli import`: real option chain files into the program directory's Quote.txt, so that a
// run from the local quote file screens them.

// The exit status: 0 when Quote.txt was written, 1 when it was not (the reason is on stderr), 2 for
// a usage error.
int ImportCommand(int argc, char** argv);
