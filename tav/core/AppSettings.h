// The program-wide settings that no main-window control holds. Created empty
// at start-up, filled from the settings file, changed by the options dialog
// and the preview, written back at exit.
#pragma once

#include "platform/Prompt.h"

#include <QString>
#include <array>

// One header or footer slot: its font and what it prints. Header types:
// 0 nothing, 1 the pictures' folder name, 2 today's date, 3 the header title.
// Footer types: 0 nothing, 1 page number, 2 the footer title.
struct HeaderFooterSlot {
    platform::FontSpec font;
    int type = 0;
};

enum SlotPosition { SlotLeft = 0, SlotCentre = 1, SlotRight = 2 };

struct AppSettings {
    QString gvPath;
    bool gvIs080OrLater = false;
    int gvWaitSeconds = 6;  // shown (hidden) in the options dialog only
    int spoolWaitSeconds = 0;  // kept from load to save unchanged
    double previewZoom = 1.0;  // 1.0 = 100 %
    bool highQualityScaling = false;
    bool showHintsAtStart = true;
    // Camera pictures: stand them upright by their recorded orientation,
    // convert embedded colour profiles to sRGB, take the recorded shooting
    // date when no comment file gives one, keep the GPS position in
    // converted JPEGs.
    bool uprightPictures = true;
    bool colourProfiles = true;
    bool exifShootingDate = true;
    bool keepGpsOnConvert = true;

    platform::FontSpec fileNameFont;
    platform::FontSpec commentFont;

    std::array<HeaderFooterSlot, 3> header;
    std::array<HeaderFooterSlot, 3> footer;
    QString headerTitle;
    QString footerTitle;
    bool headerLine = false;
    int headerLineSize = 0;  // 0 "極細", 1 "細", 2 "中", 3 "太"
    bool footerLine = false;
    int footerLineSize = 0;

    // Page margins in millimetres, outside header and footer.
    int marginTop = 0;
    int marginBottom = 0;
    int marginRight = 0;
    int marginLeft = 0;

    // The colour chooser's 16 custom-colour slots, as stored ("ColorA=ff00aa").
    std::array<QString, 16> customColors;
};
