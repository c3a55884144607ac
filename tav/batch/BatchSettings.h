// The tabs' settings for a command run from the command line: tav.Ini read
// through the same load as the main window's, into controls held in maps,
// with SECTION.KEY=VALUE overrides applied on top (never written back).
#pragma once

#include "platform/DeviceCaps.h"
#include "tav/core/AppSettings.h"
#include "tav/core/ControlSurface.h"

#include <QHash>
#include <QStringList>
#include <optional>

// Controls held in maps. The tabs' counters start at their initial
// positions, stop at their limits, and set the edit field that shows them, as
// the window's counters do (the commands read the edit fields); switching on
// a radio button switches its partners off, as in the window.
class BatchControls : public ControlSurface {
public:
    BatchControls();
    bool checked(const QString& n) const override { return m_checks.value(n); }
    void setChecked(const QString& n, bool on) override;
    int listIndex(const QString& n) const override { return m_lists.value(n, -1); }
    void setListIndex(const QString& n, int i) override { m_lists[n] = i; }
    int counterPosition(const QString& n) const override { return m_counters.value(n); }
    void setCounterPosition(const QString& n, int p) override;
    QString text(const QString& n) const override { return m_texts.value(n); }
    void setText(const QString& n, const QString& t) override { m_texts[n] = t; }
    std::uint32_t swatchColor(const QString& n) const override { return m_swatches.value(n); }
    void setSwatchColor(const QString& n, std::uint32_t c) override { m_swatches[n] = c; }

private:
    QHash<QString, bool> m_checks;
    QHash<QString, int> m_lists;
    QHash<QString, int> m_counters;
    QHash<QString, QString> m_texts;
    QHash<QString, std::uint32_t> m_swatches;
};

struct BatchSettingsRequest {
    QString iniPath;
    QStringList overrides;  // "SECTION.KEY=VALUE"
    std::optional<platform::DeviceCaps> printer;  // margins are raised to what it can print
};

// Fills `controls` and `app`; the GV registration comes from the user's
// registry as in the program. An override that switches on a radio button
// stored as a key of its own switches its partners' keys off. Returns an error text (an override that names
// no key of the file, a number key given a non-number), empty on success.
QString LoadBatchSettings(const BatchSettingsRequest& request, BatchControls& controls, AppSettings& app);
