#pragma once
// `quillon-cli chart SYMBOL --png FILE | --svg FILE [--dir DIR] [--width N] [--height N] [--now TIME]`:
// the symbol's volatility smile and IV history as a picture, from the quote cache and History.db
// of the program directory, without a desktop.

// Takes the whole command line (argv[1] is "chart") because it must create its own QApplication.
// Exit status: 0 when the picture was written, 1 when the symbol has no usable quotes or the file
// could not be written, 2 for a usage error.
int ChartCommand(int argc, char** argv);
