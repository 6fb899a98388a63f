#pragma once
// `quillon --screenshots DIR`: every window and dialog rendered to DIR/<name>.png from a scratch
// program directory, without touching the user's files. Run on the offscreen platform it needs no
// display.

#include <QString>

// Writes the PNGs and lists any control shown smaller than its text needs on stderr. Returns 0
// when every picture was written and nothing is clipped, 1 otherwise. With `passDirectory`, a
// program directory after a pass, the Pass Table window and the Filter dialog's count show a copy
// of that pass as well.
int TakeScreenshots(const QString& outputDirectory, const QString& passDirectory = {});
