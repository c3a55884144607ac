// Reading "tav.Ini" into the controls and AppSettings at start-up, and
// writing everything back when the main window closes.
#pragma once

#include "platform/DeviceCaps.h"
#include "tav/core/AppSettings.h"
#include "tav/core/ControlSurface.h"

#include <QString>
#include <optional>

namespace platform {
class ProfileFile;
class Registry;
}  // namespace platform

inline constexpr const char* kSettingsFileName = "tav.Ini";

// What loading and saving act on. `registry` null means the registry cannot
// be opened; `printer` empty means no printer is installed.
struct SettingsContext {
    platform::ProfileFile& file;
    ControlSurface& controls;
    FolderBrowser& browser;
    AppSettings& app;
    platform::Registry* registry = nullptr;
    std::optional<platform::DeviceCaps> printer;
};

// Reads every key (a missing file, section or key gives its default), then
// corrects the preview zoom, moves the browser, asks the registry about GV
// and raises the margins to what the printer can print. Never fails visibly.
void LoadSettings(SettingsContext& context);

// Writes every key in file order, stopping at the first that cannot be
// written, and reports that failure with a warning box. True when all were written.
bool SaveSettings(SettingsContext& context);

// The settings file's integers: decimal, or hexadecimal after "0x"/"0X" when
// the text is longer than two characters; anything else gives `fallback`.
int profileInt(const QString& text, int fallback);

inline constexpr const char* kSettingsWriteFailed =
    "Tav.iniに現在の状態を記録できませんでした.\r\nTavは、書込み可能なﾃﾞｨｽｸから起動してお使いください.";
