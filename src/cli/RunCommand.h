#pragma once
// `quillon-cli run`: the run window's work without a window, under QCoreApplication.

// Takes the whole command line (argv[1] is "run"). The exit status: 0 after the wanted passes, 1 when the run cannot start or go on, 2 for a usage
// error, 128 + the signal number when SIGINT or SIGTERM closed the run.
int RunCommand(int argc, char** argv);
