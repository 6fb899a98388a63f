#pragma once
// Lets a failing comparison of settings show them as the lines of their file.

#include <ostream>

#include "core/settings/SettingsFile.h"

inline void PrintTo(const UserSettings& settings, std::ostream* out)
{
    *out << "\n" << SettingsFileText(settings);
}
