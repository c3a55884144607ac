#include "platform/ProfileFile.h"
#include "tav/core/GvRegistration.h"
#include "tav/core/PrinterMargins.h"
#include "tav/core/Settings.h"
#include "tav/core/SettingsSchema.h"

#include <QFileInfo>

namespace {

QString str(const char* s) { return QString::fromUtf8(s); }

class SettingsLoader final : public SettingsVisitor {
public:
    explicit SettingsLoader(SettingsContext& c) : m_c(c) {}

    QString folder() const { return m_folder; }
    int zoomPercent() const { return m_zoomPercent; }

    void section(const char* name) override { m_section = str(name); }

    void flag(const char* key, bool fallback, const char* control) override
    {
        m_c.controls.setChecked(str(control), readInt(key, fallback ? 1 : 0) != 0);
    }
    void listIndex(const char* key, int fallback, const char* control) override
    {
        m_c.controls.setListIndex(str(control), readInt(key, fallback));
    }
    void counterText(const char* key, int fallback, const char* counter, const char*) override
    {
        m_c.controls.setCounterPosition(str(counter), readInt(key, fallback));
    }
    void counterNumber(const char* key, int fallback, const char* counter, const char*) override
    {
        m_c.controls.setCounterPosition(str(counter), readInt(key, fallback));
    }
    void counterPosition(const char* key, int fallback, const char* counter) override
    {
        m_c.controls.setCounterPosition(str(counter), readInt(key, fallback));
    }
    void text(const char* key, const char* fallback, const char* control) override
    {
        m_c.controls.setText(str(control), readText(key, str(fallback)));
    }
    void swatch(const char* key, std::uint32_t fallback, const char* control) override
    {
        m_c.controls.setSwatchColor(str(control),
                                    static_cast<std::uint32_t>(readInt(key, static_cast<int>(fallback))));
    }
    void radioChoice(const char* key, const char* const* buttons, int count) override
    {
        int chosen = readInt(key, 1);
        if (chosen < 1 || chosen > count)
            chosen = 1;
        for (int i = 0; i < count; ++i)
            if (i != chosen - 1)
                m_c.controls.setChecked(str(buttons[i]), false);
        m_c.controls.setChecked(str(buttons[chosen - 1]), true);
    }

    void appText(const char* key, const char* fallback, QString AppSettings::*field) override
    {
        m_c.app.*field = readText(key, str(fallback));
    }
    void appFlag(const char* key, bool fallback, bool AppSettings::*field) override
    {
        m_c.app.*field = readInt(key, fallback ? 1 : 0) != 0;
    }
    void appInt(const char* key, int fallback, int AppSettings::*field) override
    {
        m_c.app.*field = readInt(key, fallback);
    }
    void appFont(const char* prefix, platform::FontSpec& font) override
    {
        const platform::FontSpec d = defaultSettingsFont();
        const QString p = *prefix ? str(prefix) + QLatin1Char('_') : QString();
        font.name = m_c.file.readString(m_section, p + QStringLiteral("name"), d.name);
        font.size = profileInt(m_c.file.readString(m_section, p + QStringLiteral("size"), {}), d.size);
        font.color = static_cast<std::uint32_t>(
            profileInt(m_c.file.readString(m_section, p + QStringLiteral("color"), {}), 0));
        font.style = profileInt(m_c.file.readString(m_section, p + QStringLiteral("style"), {}), 0);
    }
    void appSlotType(const char* key, int& type) override { type = readInt(key, 0); }
    void appCustomColor(const char* key, QString& slot) override { slot = readText(key, {}); }
    void previewZoom(const char* key) override { m_zoomPercent = readInt(key, 100); }
    void browserFolder(const char* key) override { m_folder = readText(key, {}); }

private:
    int readInt(const char* key, int fallback) const
    {
        return profileInt(m_c.file.readString(m_section, str(key), {}), fallback);
    }
    QString readText(const char* key, const QString& fallback) const
    {
        return m_c.file.readString(m_section, str(key), fallback);
    }

    SettingsContext& m_c;
    QString m_section;
    QString m_folder;
    int m_zoomPercent = 100;
};

void raiseToPrinterMinimum(AppSettings& app, const platform::DeviceCaps& caps)
{
    const PageMargins minimum = PrinterMinimumMargins(caps);
    app.marginTop = std::max(app.marginTop, minimum.top);
    app.marginBottom = std::max(app.marginBottom, minimum.bottom);
    app.marginRight = std::max(app.marginRight, minimum.right);
    app.marginLeft = std::max(app.marginLeft, minimum.left);
}

}  // namespace

int profileInt(const QString& text, int fallback)
{
    bool ok = false;
    if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        const uint value = text.mid(2).toUInt(&ok, 16);
        return ok ? static_cast<int>(value) : fallback;
    }
    const int value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

void LoadSettings(SettingsContext& c)
{
    SettingsLoader loader(c);
    walkSettingsSchema(loader, c.app);

    c.app.previewZoom = loader.zoomPercent() / 100.0;
    if (c.app.previewZoom <= 0)
        c.app.previewZoom = 1.0;

    // A DIR that names no folder leaves the browser where it is, refilled.
    const QString folder = loader.folder();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        c.browser.openFolder(folder);
    else
        c.browser.openFolder(c.browser.currentFolder());

    const GvRegistration gv = readGvRegistration(c.registry);
    c.app.gvPath = gv.path;
    c.app.gvIs080OrLater = gv.is080OrLater;

    if (c.printer)
        raiseToPrinterMinimum(c.app, *c.printer);
}
