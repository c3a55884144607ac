// A settings visitor that ignores every key; tests override what they collect.
#pragma once

#include "tav/core/SettingsSchema.h"

struct IgnoringSettingsVisitor : SettingsVisitor {
    void section(const char*) override {}
    void flag(const char*, bool, const char*) override {}
    void listIndex(const char*, int, const char*) override {}
    void counterText(const char*, int, const char*, const char*) override {}
    void counterNumber(const char*, int, const char*, const char*) override {}
    void counterPosition(const char*, int, const char*) override {}
    void text(const char*, const char*, const char*) override {}
    void swatch(const char*, std::uint32_t, const char*) override {}
    void radioChoice(const char*, const char* const*, int) override {}
    void appText(const char*, const char*, QString AppSettings::*) override {}
    void appFlag(const char*, bool, bool AppSettings::*) override {}
    void appInt(const char*, int, int AppSettings::*) override {}
    void appFont(const char*, platform::FontSpec&) override {}
    void appSlotType(const char*, int&) override {}
    void appCustomColor(const char*, QString&) override {}
    void previewZoom(const char*) override {}
    void browserFolder(const char*) override {}
};
