#pragma once
// The problems that stop a run or a replay, worded for a terminal: the file, and what to do about
// it from there (the run window's texts point to its menus instead). Every command of quillon-cli
// that meets one says it this way.

#include <string>
#include <string_view>

#include "core/run/RunProblem.h"

std::string TerminalProblemText(RunProblem problem, std::string_view path);
