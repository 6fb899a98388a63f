#pragma once
// `quillon --screenshots DIR`: every window and dialog rendered to DIR/<name>.png from a scratch
// program directory, without touching the user's files. Run on the offscreen platform it needs no
// display.

#include <QString>

// Writes the PNGs and lists any control shown smaller than its text needs on stderr. Returns 0
// when every picture was written and nothing is clipped, 1 otherwise.
int TakeScreenshots(const QString& outputDirectory);
