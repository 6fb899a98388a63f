#pragma once
// `quillon-cli print [--dir DIR] --pdf FILE [--now "YYYY-MM-DD HH:MM:SS"]`: the results report
// printed into a PDF file, one page per saved block, without a desktop.

// Takes the whole command line (argv[1] is "print") because it must create its own
// QGuiApplication. Exit status: 0 when the PDF was written, 1 when there was nothing to print or
// the file could not be written, 2 for a usage error.
int PrintCommand(int argc, char** argv);
