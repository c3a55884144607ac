// Program-wide run-time values shared by the main window, the batch commands
// and the print layouts. The program has one thread; these are plain values.
#pragma once

// A stop was asked for (ESC, the stop button, the preview's stop). Cleared by
// each batch at its start and while a picture is fetched from GV.
extern bool AbortRequested;

// The current print run draws into preview pages instead of the printer.
extern bool PreviewMode;

// Screen pixels per millimetre: 96 / 25.4 until the main window is first
// activated, then the screen's horizontal dots per inch / 25.4.
extern double ScreenDotsPerMm;

inline constexpr double kDefaultScreenDotsPerMm = 3.779527;
