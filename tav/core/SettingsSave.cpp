#include "platform/ProfileFile.h"
#include "platform/Prompt.h"
#include "tav/core/Settings.h"
#include "tav/core/SettingsSchema.h"

namespace {

QString str(const char* s) { return QString::fromUtf8(s); }
QString num(long long n) { return QString::number(n); }

// Writes key after key; after the first failure it writes nothing more.
class SettingsSaver final : public SettingsVisitor {
public:
    explicit SettingsSaver(SettingsContext& c) : m_c(c) {}

    bool failed() const { return m_failed; }

    void section(const char* name) override { m_section = str(name); }

    void flag(const char* key, bool, const char* control) override
    {
        write(key, m_c.controls.checked(str(control)) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void listIndex(const char* key, int, const char* control) override
    {
        write(key, num(m_c.controls.listIndex(str(control))));
    }
    void counterText(const char* key, int, const char*, const char* edit) override
    {
        write(key, m_c.controls.text(str(edit)));
    }
    void counterNumber(const char* key, int, const char*, const char* edit) override
    {
        bool ok = false;
        const int value = m_c.controls.text(str(edit)).trimmed().toInt(&ok);
        if (!ok)
            m_failed = true;
        write(key, num(value));
    }
    void counterPosition(const char* key, int, const char* counter) override
    {
        write(key, num(m_c.controls.counterPosition(str(counter))));
    }
    void text(const char* key, const char*, const char* control) override
    {
        write(key, m_c.controls.text(str(control)));
    }
    void swatch(const char* key, std::uint32_t, const char* control) override
    {
        write(key, num(m_c.controls.swatchColor(str(control))));
    }
    void radioChoice(const char* key, const char* const* buttons, int count) override
    {
        int chosen = 1;
        for (int i = 0; i < count; ++i) {
            if (m_c.controls.checked(str(buttons[i]))) {
                chosen = i + 1;
                break;
            }
        }
        write(key, num(chosen));
    }

    void appText(const char* key, const char*, QString AppSettings::*field) override
    {
        write(key, m_c.app.*field);
    }
    void appFlag(const char* key, bool, bool AppSettings::*field) override
    {
        write(key, (m_c.app.*field) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void appInt(const char* key, int, int AppSettings::*field) override { write(key, num(m_c.app.*field)); }
    void appFont(const char* prefix, platform::FontSpec& font) override
    {
        const QString p = *prefix ? str(prefix) + QLatin1Char('_') : QString();
        writeKey(p + QStringLiteral("name"), font.name);
        writeKey(p + QStringLiteral("size"), num(font.size));
        writeKey(p + QStringLiteral("color"), num(font.color));
        writeKey(p + QStringLiteral("style"), num(font.style));
    }
    void appSlotType(const char* key, int& type) override { write(key, num(type)); }
    void appCustomColor(const char* key, QString& slot) override { write(key, slot); }
    void previewZoom(const char* key) override
    {
        // Fraction cut off; the tiny allowance keeps a zoom read as 29 / 100
        // from coming back as 28 (0.29 * 100 is just below 29 in binary).
        write(key, num(static_cast<long long>(m_c.app.previewZoom * 100 + 1e-7)));
    }
    void browserFolder(const char* key) override { write(key, m_c.browser.currentFolder()); }

private:
    void write(const char* key, const QString& value) { writeKey(str(key), value); }
    void writeKey(const QString& key, const QString& value)
    {
        if (m_failed)
            return;
        if (!m_c.file.writeString(m_section, key, value))
            m_failed = true;
    }

    SettingsContext& m_c;
    QString m_section;
    bool m_failed = false;
};

}  // namespace

bool SaveSettings(SettingsContext& c)
{
    SettingsSaver saver(c);
    // All keys reach the file in one replacement, flushed to the disk once.
    c.file.beginBatch();
    walkSettingsSchema(saver, c.app);
    const bool committed = c.file.commitBatch();
    if (committed && !saver.failed())
        return true;
    platform::prompts().message(platform::MessageKind::Warning, {}, QString::fromUtf8(kSettingsWriteFailed),
                                platform::Buttons::Ok);
    return false;
}
