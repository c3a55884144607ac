// Controls and a browser held in maps, for exercising settings and batches
// without a window. A name never set reads as off / -1 / 0 / "".
#pragma once

#include "tav/core/ControlSurface.h"

#include <QHash>

class FakeControls : public ControlSurface {
public:
    bool checked(const QString& n) const override { return checks.value(n); }
    void setChecked(const QString& n, bool on) override { checks[n] = on; }
    int listIndex(const QString& n) const override { return lists.value(n, -1); }
    void setListIndex(const QString& n, int i) override { lists[n] = i; }
    int counterPosition(const QString& n) const override { return counters.value(n); }
    void setCounterPosition(const QString& n, int p) override { counters[n] = p; }
    QString text(const QString& n) const override { return texts.value(n); }
    void setText(const QString& n, const QString& t) override { texts[n] = t; }
    std::uint32_t swatchColor(const QString& n) const override { return swatches.value(n); }
    void setSwatchColor(const QString& n, std::uint32_t c) override { swatches[n] = c; }

    QHash<QString, bool> checks;
    QHash<QString, int> lists;
    QHash<QString, int> counters;
    QHash<QString, QString> texts;
    QHash<QString, std::uint32_t> swatches;
};

class FakeBrowser : public FolderBrowser {
public:
    QString currentFolder() const override { return folder; }
    void openFolder(const QString& f) override
    {
        folder = f;
        ++refills;
    }
    QString folder = QStringLiteral("/");
    int refills = 0;
};
