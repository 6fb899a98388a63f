#pragma once
// `quillon-cli run`: the run window's work without a window, under QCoreApplication.

#include <string>
#include <vector>

class QCoreApplication;

// The exit status: 0 after the wanted passes, 1 when the run cannot start or go on, 2 for a usage
// error, 128 + the signal number when SIGINT or SIGTERM closed the run.
int RunCommand(QCoreApplication& app, const std::vector<std::string>& arguments);
