#pragma once
// A GUI application without a screen: printing to PDF needs fonts, and the desktop program's
// --help and --version must answer on a terminal that has no display.

// Picks Qt's offscreen platform when no display is named and no platform was chosen. Call it
// before the application object is made.
void UseOffscreenWithoutDisplay();
