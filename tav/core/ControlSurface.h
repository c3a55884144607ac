// The main window's controls as the settings see them: values by control name.
// The window implements it over its widgets; tests implement it over maps, so
// loading and saving the settings need no window.
#pragma once

#include <QString>
#include <cstdint>

class ControlSurface {
public:
    virtual ~ControlSurface() = default;

    // Check boxes and radio buttons. Switching a radio button off leaves its
    // partners as they are.
    virtual bool checked(const QString& name) const = 0;
    virtual void setChecked(const QString& name, bool on) = 0;

    // Drop-down lists: the 0-based index of the chosen entry, -1 for none.
    virtual int listIndex(const QString& name) const = 0;
    virtual void setListIndex(const QString& name, int index) = 0;

    // Counters: the position, clamped to the counter's range when set.
    virtual int counterPosition(const QString& name) const = 0;
    virtual void setCounterPosition(const QString& name, int position) = 0;

    // Edit fields: the text as typed.
    virtual QString text(const QString& name) const = 0;
    virtual void setText(const QString& name, const QString& text) = 0;

    // Colour swatches: the fill colour as a colour reference 0x00BBGGRR.
    virtual std::uint32_t swatchColor(const QString& name) const = 0;
    virtual void setSwatchColor(const QString& name, std::uint32_t color) = 0;
};

// The file browser as the settings see it: where it is, and moving it.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    virtual QString currentFolder() const = 0;
    // Moves the drive box, folder tree and file list to `folder` and refills the view.
    virtual void openFolder(const QString& folder) = 0;
};
