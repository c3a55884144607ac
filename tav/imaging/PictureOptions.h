// The settings' switches for camera pictures, applied program-wide: the
// imaging library's load options (upright, colour profiles) and whether a
// picture without a dated comment file takes its recorded shooting date.
#pragma once

struct AppSettings;

// Called after the settings are read and after the options dialog stores them.
void ApplyPictureOptions(const AppSettings& settings);
bool ExifShootingDateOn();
