#include "tav/batch/BatchSettings.h"

#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "tav/core/Settings.h"
#include "tav/core/SettingsSchema.h"
#include "tav/core/TabCounters.h"

#include <QDir>

#include <algorithm>

namespace {

QString str(const char* s) { return QString::fromUtf8(s); }

// Every key of the file, upper-cased as "SECTION.KEY", with whether it holds
// a number; and the counters' edit fields.
class KeyCollector final : public SettingsVisitor {
public:
    QHash<QString, bool> numeric;  // key -> holds a number
    QHash<QString, QString> keyOfFlag;  // check box or radio button -> its key

    void section(const char* name) override { m_section = str(name).toUpper(); }
    void flag(const char* key, bool, const char* control) override
    {
        add(key, true);
        keyOfFlag[str(control)] = m_section + QLatin1Char('.') + str(key).toUpper();
    }
    void listIndex(const char* key, int, const char*) override { add(key, true); }
    void counterText(const char* key, int, const char*, const char*) override { add(key, true); }
    void counterNumber(const char* key, int, const char*, const char*) override { add(key, true); }
    void counterPosition(const char* key, int, const char*) override { add(key, true); }
    void text(const char* key, const char*, const char*) override { add(key, false); }
    void swatch(const char* key, std::uint32_t, const char*) override { add(key, true); }
    void radioChoice(const char* key, const char* const*, int) override { add(key, true); }
    void appText(const char* key, const char*, QString AppSettings::*) override { add(key, false); }
    void appFlag(const char* key, bool, bool AppSettings::*) override { add(key, true); }
    void appInt(const char* key, int, int AppSettings::*) override { add(key, true); }
    void appFont(const char* prefix, platform::FontSpec&) override
    {
        const QString p = *prefix ? str(prefix) + QLatin1Char('_') : QString();
        add(p + QStringLiteral("name"), false);
        for (const char* field : {"size", "color", "style"})
            add(p + str(field), true);
    }
    void appSlotType(const char* key, int&) override { add(key, true); }
    void appCustomColor(const char* key, QString&) override { add(key, false); }
    void previewZoom(const char* key) override { add(key, true); }
    void browserFolder(const char* key) override { add(key, false); }

private:
    void add(const char* key, bool isNumber) { add(str(key), isNumber); }
    void add(const QString& key, bool isNumber)
    {
        numeric[m_section + QLatin1Char('.') + key.toUpper()] = isNumber;
    }

    QString m_section;
};

// The tabs' radio buttons stored as keys of their own, by group.
const QStringList kRadioGroups[] = {
    {QStringLiteral("rb_bmp"), QStringLiteral("rb_jpg"), QStringLiteral("rb_tif")},
    {QStringLiteral("cb_gaSuKaraPr"), QStringLiteral("cb_tateYokoKaraPr")},
    {QStringLiteral("ch_zentai"), QStringLiteral("ch_size")},
};

const QStringList* radioGroupOf(const QString& control)
{
    for (const QStringList& group : kRadioGroups)
        if (group.contains(control))
            return &group;
    return nullptr;
}

// The key ("SECTION.KEY", upper case) of each radio button stored on its
// own, mapped to its partners' keys.
QHash<QString, QStringList> partnerKeys(const KeyCollector& keys)
{
    QHash<QString, QStringList> partners;
    for (const QStringList& group : kRadioGroups)
        for (const QString& button : group)
            for (const QString& other : group)
                if (other != button)
                    partners[keys.keyOfFlag.value(button)] << keys.keyOfFlag.value(other);
    return partners;
}

class NoBrowser final : public FolderBrowser {
public:
    QString currentFolder() const override { return QDir::currentPath(); }
    void openFolder(const QString&) override {}
};

bool isProfileNumber(const QString& text) { return profileInt(text, 1) == profileInt(text, 2); }

}  // namespace

void BatchControls::setChecked(const QString& n, bool on)
{
    if (const QStringList* group = on ? radioGroupOf(n) : nullptr)
        for (const QString& partner : *group)
            m_checks[partner] = false;
    m_checks[n] = on;
}

BatchControls::BatchControls()
{
    for (const TabCounter& c : tabCounters())
        setCounterPosition(QString::fromLatin1(c.name), c.initial);
}

void BatchControls::setCounterPosition(const QString& n, int p)
{
    const TabCounter* counter = tabCounter(n);
    if (!counter) {
        m_counters[n] = p;
        return;
    }
    m_counters[n] = std::clamp(p, counter->minimum, counter->maximum);
    m_texts[QString::fromLatin1(counter->edit)] = QString::number(m_counters[n]);
}

QString LoadBatchSettings(const BatchSettingsRequest& request, BatchControls& controls, AppSettings& app)
{
    KeyCollector keys;
    walkSettingsSchema(keys, app);

    platform::ProfileFile file(request.iniPath);
    // Overrides live only in the batch, which is never committed.
    file.beginBatch();
    const QHash<QString, QStringList> partners = partnerKeys(keys);
    QStringList switchedOff;  // "SECTION.KEY" of radio buttons the overrides switch off
    QStringList given;
    for (const QString& override : request.overrides) {
        const qsizetype equals = override.indexOf(QLatin1Char('='));
        const qsizetype dot = override.left(equals).indexOf(QLatin1Char('.'));
        if (equals < 0 || dot <= 0)
            return QStringLiteral("--set wants SECTION.KEY=VALUE: ") + override;
        const QString name = override.left(equals);
        const QString value = override.mid(equals + 1);
        const auto key = keys.numeric.constFind(name.toUpper());
        if (key == keys.numeric.constEnd())
            return QStringLiteral("no such setting in tav.Ini: ") + name;
        if (*key && !isProfileNumber(value.trimmed()))
            return QStringLiteral("setting %1 wants a number, not \"%2\"").arg(name, value);
        if (!file.writeString(name.left(dot), name.mid(dot + 1), value))
            return QStringLiteral("cannot read ") + request.iniPath;
        given << name.toUpper();
        if (profileInt(value.trimmed(), 0) != 0)
            switchedOff << partners.value(name.toUpper());
    }
    for (const QString& key : switchedOff) {
        if (given.contains(key))
            continue;  // both named: the later key wins, as in the window
        const qsizetype dot = key.indexOf(QLatin1Char('.'));
        file.writeString(key.left(dot), key.mid(dot + 1), QStringLiteral("0"));
    }

    NoBrowser browser;
    platform::Registry& store = platform::Registry::current();
    platform::Registry* registry = store.isOpen() ? &store : nullptr;  // no GV without it, as in the program
    SettingsContext context{file, controls, browser, app, registry, request.printer};
    LoadSettings(context);
    return {};
}
