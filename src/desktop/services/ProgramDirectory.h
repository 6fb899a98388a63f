#pragma once
// Where the desktop program keeps its files.

#include <QString>
#include <optional>

// `requested` (from --dir) when given, created when missing; otherwise the executable's directory
// when it is writable, else the user's data directory ($XDG_DATA_HOME/quillon, normally
// ~/.local/share/quillon), created. Nothing when the directory cannot be created or written.
std::optional<QString> ResolveProgramDirectory(const QString& requested, const QString& executableDirectory);
