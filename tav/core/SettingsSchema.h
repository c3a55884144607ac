// Every section and key of "tav.Ini", in the order they are read and written,
// with its type, default and the control or AppSettings field it feeds. One
// walk serves loading, saving and the check that every named control exists,
// so the three can never disagree about order or content.
#pragma once

#include "tav/core/AppSettings.h"

#include <QString>

class SettingsVisitor {
public:
    virtual ~SettingsVisitor() = default;

    virtual void section(const char* name) = 0;

    // Controls.
    virtual void flag(const char* key, bool fallback, const char* control) = 0;
    virtual void listIndex(const char* key, int fallback, const char* control) = 0;
    // A counter read as its position; written as the text of its edit field.
    virtual void counterText(const char* key, int fallback, const char* counter, const char* edit) = 0;
    // A counter read as its position; written as the whole number in its edit
    // field (text that is not a whole number makes the write fail).
    virtual void counterNumber(const char* key, int fallback, const char* counter, const char* edit) = 0;
    // A counter read and written as its position.
    virtual void counterPosition(const char* key, int fallback, const char* counter) = 0;
    virtual void text(const char* key, const char* fallback, const char* control) = 0;
    virtual void swatch(const char* key, std::uint32_t fallback, const char* control) = 0;
    // A set of radio buttons stored as the 1-based number of the chosen one.
    virtual void radioChoice(const char* key, const char* const* buttons, int count) = 0;

    // AppSettings fields.
    virtual void appText(const char* key, const char* fallback, QString AppSettings::*field) = 0;
    virtual void appFlag(const char* key, bool fallback, bool AppSettings::*field) = 0;
    virtual void appInt(const char* key, int fallback, int AppSettings::*field) = 0;
    virtual void appFont(const char* prefix, platform::FontSpec& font) = 0;
    virtual void appSlotType(const char* key, int& type) = 0;
    virtual void appCustomColor(const char* key, QString& slot) = 0;
    virtual void previewZoom(const char* key) = 0;
    virtual void browserFolder(const char* key) = 0;
};

// Visits every key in file order; `settings` supplies the font, slot and
// colour fields that the visitor receives by reference.
void walkSettingsSchema(SettingsVisitor& visitor, AppSettings& settings);

// The default file-name, comment and slot font.
platform::FontSpec defaultSettingsFont();
