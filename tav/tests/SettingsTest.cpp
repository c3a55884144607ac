#include "tav/core/Settings.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "platform/Sjis.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/GvRegistration.h"
#include "tav/core/SettingsSchema.h"
#include "tav/tests/FakeControls.h"
#include "tav/tests/IgnoringSettingsVisitor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Pairs each counter with its edit field, as the real form does, so that a
// loaded position shows up in the text that saving writes.
class PairedControls : public FakeControls {
public:
    PairedControls()
    {
        struct Pairs : IgnoringSettingsVisitor {
            QHash<QString, QString>* out;
            void counterText(const char*, int, const char* c, const char* e) override { (*out)[c] = e; }
            void counterNumber(const char*, int, const char* c, const char* e) override { (*out)[c] = e; }
        } pairs;
        pairs.out = &m_edits;
        AppSettings scratch;
        walkSettingsSchema(pairs, scratch);
    }
    void setCounterPosition(const QString& n, int p) override
    {
        FakeControls::setCounterPosition(n, p);
        if (m_edits.contains(n))
            setText(m_edits[n], QString::number(p));
    }

private:
    QHash<QString, QString> m_edits;
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        iniPath = dir.filePath(QStringLiteral("tav.Ini"));
        registry = std::make_unique<platform::Registry>(dir.filePath(QStringLiteral("reg.sqlite3")));
    }

    SettingsContext context(platform::ProfileFile& file)
    {
        return SettingsContext{file, controls, browser, app, registry.get(), printer};
    }
    void load()
    {
        platform::ProfileFile file(iniPath);
        auto c = context(file);
        LoadSettings(c);
    }
    bool save()
    {
        platform::ProfileFile file(iniPath);
        auto c = context(file);
        return SaveSettings(c);
    }
    void writeIni(const QString& text)
    {
        QFile f(iniPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(platform::toSjis(text));
    }
    QString read(const char* section, const char* key)
    {
        return platform::ProfileFile(iniPath).readString(QString::fromUtf8(section), QString::fromUtf8(key),
                                                         QStringLiteral("<absent>"));
    }

    QTemporaryDir dir;
    QString iniPath;
    std::unique_ptr<platform::Registry> registry;
    PairedControls controls;
    FakeBrowser browser;
    AppSettings app;
    std::optional<platform::DeviceCaps> printer;
    platform::ScriptedPrompt prompt;
};

TEST(ProfileIntTest, DecimalHexAndGarbage)
{
    EXPECT_EQ(profileInt(QStringLiteral("42"), 7), 42);
    EXPECT_EQ(profileInt(QStringLiteral("-3"), 7), -3);
    EXPECT_EQ(profileInt(QStringLiteral("0x10"), 7), 16);
    EXPECT_EQ(profileInt(QStringLiteral("0XfF"), 7), 255);
    EXPECT_EQ(profileInt(QStringLiteral("abc"), 7), 7);
    EXPECT_EQ(profileInt(QStringLiteral("0x"), 7), 7);  // too short to be hexadecimal
    EXPECT_EQ(profileInt(QStringLiteral("0xZZ"), 7), 7);
    EXPECT_EQ(profileInt(QString(), 7), 7);
    EXPECT_EQ(profileInt(QStringLiteral("99999999999"), 7), 7);
}

TEST_F(SettingsTest, FirstRunShowsDefaultsAndWritesEveryKeyOfEverySection)
{
    load();
    EXPECT_TRUE(controls.checked(QStringLiteral("ch_zentai")));
    EXPECT_FALSE(controls.checked(QStringLiteral("ch_saiteki")));
    EXPECT_EQ(controls.text(QStringLiteral("tx_w")), QStringLiteral("100.0"));
    EXPECT_EQ(controls.counterPosition(QStringLiteral("ud_komaHabaMM")), 40);
    EXPECT_EQ(controls.listIndex(QStringLiteral("suSizeW")), 5);
    EXPECT_EQ(controls.swatchColor(QStringLiteral("suKageCol")), 8421504u);
    EXPECT_EQ(controls.swatchColor(QStringLiteral("pgHeikeiColHt")), 16777215u);
    EXPECT_EQ(controls.text(QStringLiteral("tx_htmlFname")), QStringLiteral("noName.htm"));
    EXPECT_TRUE(controls.checked(QStringLiteral("rb_sb")));
    EXPECT_EQ(app.gvWaitSeconds, 6);
    EXPECT_DOUBLE_EQ(app.previewZoom, 1.0);
    EXPECT_TRUE(app.showHintsAtStart);
    EXPECT_EQ(app.fileNameFont, defaultSettingsFont());
    EXPECT_EQ(app.footer[SlotRight].font.name, QStringLiteral("ＭＳ Ｐゴシック"));

    ASSERT_TRUE(save());
    platform::ProfileFile file(iniPath);
    const QStringList expected = {"ETC",   "FONT",       "KFONT",       "CONV",     "PURIKURA", "P1",
                                  "PN",    "KA_CYOUSEI", "FILE_HENKAN", "SUM",      "INDEX_PR", "SV_PR",
                                  "AL_PR", "HTML",       "YOHAKU",      "HADAFUDA", "TICOM",    "CD_COL"};
    EXPECT_EQ(file.sectionNames(), expected);
    EXPECT_EQ(file.keyNames(QStringLiteral("P1")).size(), 17);
    EXPECT_EQ(file.keyNames(QStringLiteral("HADAFUDA")).size(), 2 + 6 * 5 + 4);
    EXPECT_EQ(file.keyNames(QStringLiteral("HADAFUDA")).mid(1, 5),
              (QStringList{"L_font_name", "L_font_size", "L_font_color", "L_font_style", "L_type"}));
    EXPECT_EQ(file.keyNames(QStringLiteral("CD_COL")).size(), 16);
    EXPECT_EQ(read("CD_COL", "COL16"), QString());
    EXPECT_EQ(read("PURIKURA", "komaHaba"), QStringLiteral("40"));
    EXPECT_EQ(read("ETC", "KAKU_K"), QStringLiteral("100"));
    EXPECT_EQ(read("SV_PR", "size"), QStringLiteral("1"));

    // Shift-JIS on disk, lines ended by CR LF.
    QFile raw(iniPath);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.contains(platform::toSjis(QStringLiteral("name=ＭＳ Ｐゴシック\r\n"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("ＭＳ").toUtf8()));
}

TEST_F(SettingsTest, PreviewZoomIsCorrectedAndWrittenAsPercent)
{
    for (const char* stored : {"0", "-20"}) {
        writeIni(QStringLiteral("[ETC]\r\nKAKU_K=%1\r\n").arg(QString::fromLatin1(stored)));
        load();
        EXPECT_DOUBLE_EQ(app.previewZoom, 1.0) << stored;
        ASSERT_TRUE(save());
        EXPECT_EQ(read("ETC", "KAKU_K"), QStringLiteral("100"));
    }
    writeIni(QStringLiteral("[ETC]\r\nKAKU_K=150\r\n"));
    load();
    EXPECT_DOUBLE_EQ(app.previewZoom, 1.5);
    ASSERT_TRUE(save());
    EXPECT_EQ(read("ETC", "KAKU_K"), QStringLiteral("150"));
    for (const char* kept : {"29", "57", "115"}) {
        writeIni(QStringLiteral("[ETC]\r\nKAKU_K=%1\r\n").arg(QString::fromLatin1(kept)));
        load();
        ASSERT_TRUE(save());
        EXPECT_EQ(read("ETC", "KAKU_K"), QString::fromLatin1(kept));
    }
}

TEST_F(SettingsTest, CameraPictureSwitchesAreOnInOlderFilesAndKeptWhenOff)
{
    writeIni(QStringLiteral("[ETC]\r\nDIB_FLG=1\r\n"));
    load();
    EXPECT_TRUE(app.uprightPictures && app.colourProfiles && app.exifShootingDate && app.keepGpsOnConvert);
    writeIni(QStringLiteral("[ETC]\r\nEXIF_KAITEN=0\r\nEXIF_GPS=0\r\n"));
    load();
    EXPECT_FALSE(app.uprightPictures);
    EXPECT_FALSE(app.keepGpsOnConvert);
    EXPECT_TRUE(app.colourProfiles && app.exifShootingDate);
    ASSERT_TRUE(save());
    QString stored;
    for (const char* key : {"EXIF_KAITEN", "ICC_IRO", "EXIF_DATE", "EXIF_GPS"})
        stored += read("ETC", key);
    EXPECT_EQ(stored, QStringLiteral("0110"));
}

TEST_F(SettingsTest, HexadecimalAndNonNumericValues)
{
    writeIni(QStringLiteral("[PN]\ngaSu=0x3\nsuW=abc\n[SUM]\nkageCol=0xFF\n"));
    load();
    EXPECT_EQ(controls.listIndex(QStringLiteral("cb_gaSu")), 3);
    EXPECT_EQ(controls.listIndex(QStringLiteral("suWPr")), 2);  // the default
    EXPECT_EQ(controls.swatchColor(QStringLiteral("suKageCol")), 255u);
}

TEST_F(SettingsTest, ServiceSizeChoice)
{
    writeIni(QStringLiteral("[SV_PR]\nsize=12\n"));
    load();
    EXPECT_TRUE(controls.checked(QStringLiteral("rb_sb")));

    writeIni(QStringLiteral("[SV_PR]\nsize=3\n"));
    load();
    EXPECT_TRUE(controls.checked(QStringLiteral("rb_LL")));
    EXPECT_FALSE(controls.checked(QStringLiteral("rb_sb")));
    ASSERT_TRUE(save());
    EXPECT_EQ(read("SV_PR", "size"), QStringLiteral("3"));

    controls.checks.clear();  // nothing chosen writes 1
    ASSERT_TRUE(save());
    EXPECT_EQ(read("SV_PR", "size"), QStringLiteral("1"));
}

TEST_F(SettingsTest, ConversionFolderFromTheLaterKeyAndWrittenToBoth)
{
    writeIni(QStringLiteral("[CONV]\npath=A\n[FILE_HENKAN]\nout_path=B\n"));
    load();
    EXPECT_EQ(controls.text(QStringLiteral("tx_out_path")), QStringLiteral("B"));
    ASSERT_TRUE(save());
    EXPECT_EQ(read("CONV", "path"), QStringLiteral("B"));
    EXPECT_EQ(read("FILE_HENKAN", "out_path"), QStringLiteral("B"));
}

TEST_F(SettingsTest, ValuesSurviveARunAndUnknownLinesStay)
{
    writeIni(QStringLiteral("; kept comment\r\n[AL_PR]\r\nyohaku=5\r\nmine=1\r\n[OTHER]\r\nx=y\r\n"
                            "[KA_CYOUSEI]\r\nakarusa=-40\r\n"));
    load();
    ASSERT_TRUE(save());
    EXPECT_EQ(read("AL_PR", "yohaku"), QStringLiteral("5"));
    EXPECT_EQ(read("AL_PR", "mine"), QStringLiteral("1"));
    EXPECT_EQ(read("OTHER", "x"), QStringLiteral("y"));
    EXPECT_EQ(read("KA_CYOUSEI", "akarusa"), QStringLiteral("-40"));
    QFile raw(iniPath);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().startsWith("; kept comment\r\n[AL_PR]\r\n"));
}

TEST_F(SettingsTest, LongValuesAreCutTo2047Bytes)
{
    writeIni(QStringLiteral("[HTML]\nTiTle=") + QString(3000, QLatin1Char('x')) + QStringLiteral("\n"));
    load();
    EXPECT_EQ(controls.text(QStringLiteral("tx_pgTitleHt")).size(), 2047);
}

TEST_F(SettingsTest, BrowserMovesToAnExistingFolderOnly)
{
    writeIni(QStringLiteral("[ETC]\nDIR=%1\n").arg(dir.path()));
    load();
    EXPECT_EQ(browser.folder, dir.path());

    browser.folder = QStringLiteral("/");
    writeIni(QStringLiteral("[ETC]\nDIR=%1/gone\n").arg(dir.path()));
    load();
    EXPECT_EQ(browser.folder, QStringLiteral("/"));
    EXPECT_EQ(browser.refills, 2);  // refilled where it was

    ASSERT_TRUE(save());
    EXPECT_EQ(read("ETC", "DIR"), QStringLiteral("/"));
}

TEST_F(SettingsTest, GvPathComesFromTheRegistryAndTheKeyIsCreated)
{
    writeIni(QStringLiteral("[ETC]\nGV=/opt/gv/gv\nGvVer=1\n"));
    load();
    EXPECT_EQ(app.gvPath, QString());
    EXPECT_FALSE(app.gvIs080OrLater);
    EXPECT_TRUE(registry->keyExists(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV")));

    ASSERT_TRUE(
        registry->createKey(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV\\Path")));
    ASSERT_TRUE(
        registry->createKey(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV\\Version")));
    registry->setValue(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV\\Path"), {},
                       platform::RegValue::string(QStringLiteral("/usr/bin/gv")));
    registry->setValue(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV\\Version"), {},
                       platform::RegValue::string(QStringLiteral("0.80")));
    load();
    EXPECT_EQ(app.gvPath, QStringLiteral("/usr/bin/gv"));
    EXPECT_TRUE(app.gvIs080OrLater);

    // Without a registry at all: empty path, older viewer.
    registry.reset();
    load();
    EXPECT_EQ(app.gvPath, QString());
    EXPECT_FALSE(app.gvIs080OrLater);
}

TEST(GvVersionTest, VersionTexts)
{
    for (const char* newer : {"0.80", "0.9", "1.00", "10", "0.85"})
        EXPECT_TRUE(gvVersionIs080OrLater(QString::fromLatin1(newer))) << newer;
    for (const char* older : {"0.75", "0.00", "", "0", "0.7"})
        EXPECT_FALSE(gvVersionIs080OrLater(QString::fromLatin1(older))) << older;
}

TEST_F(SettingsTest, MarginsAreRaisedToWhatThePrinterCanPrint)
{
    // 600 dpi A4 with a 4.3 mm top strip and 2 mm on the other sides.
    const double dpmm = 600 / 25.4;
    platform::DeviceCaps caps;
    caps.logPixelsX = 600;
    caps.physicalWidth = static_cast<int>(210 * dpmm);
    caps.physicalHeight = static_cast<int>(297 * dpmm);
    caps.physicalOffsetX = static_cast<int>(2 * dpmm);
    caps.physicalOffsetY = static_cast<int>(4.3 * dpmm);
    caps.horzRes = caps.physicalWidth - 2 * caps.physicalOffsetX;
    caps.vertRes = caps.physicalHeight - caps.physicalOffsetY - static_cast<int>(2 * dpmm);
    printer = caps;

    writeIni(QStringLiteral("[YOHAKU]\nue=0\nsita=10\nmigi=1\nhidari=0\n"));
    load();
    EXPECT_EQ(app.marginTop, 4);
    EXPECT_EQ(app.marginBottom, 10);
    EXPECT_EQ(app.marginRight, 2);
    EXPECT_EQ(app.marginLeft, 2);

    printer.reset();  // no printer installed: the margins stay as stored
    load();
    EXPECT_EQ(app.marginTop, 0);
    EXPECT_EQ(app.marginRight, 1);
}

TEST_F(SettingsTest, SavingStopsAtTheFirstKeyThatCannotBeWritten)
{
    load();
    controls.setText(QStringLiteral("suYohaku"), QStringLiteral("1.5"));
    EXPECT_FALSE(save());
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].kind, platform::MessageKind::Warning);
    EXPECT_EQ(prompt.shown()[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(prompt.shown()[0].text,
              QStringLiteral("Tav.iniに現在の状態を記録できませんでした."
                             "\r\nTavは、書込み可能なﾃﾞｨｽｸから起動してお使いください."));
    EXPECT_EQ(read("SUM", "TitlePr"), QStringLiteral("0"));  // written before
    EXPECT_EQ(read("SUM", "yohaku"), QStringLiteral("<absent>"));
    EXPECT_EQ(read("SUM", "type"), QStringLiteral("<absent>"));
    EXPECT_EQ(read("HTML", "PW"), QStringLiteral("<absent>"));
}

TEST_F(SettingsTest, AnUnwritableFileIsReportedOnceAndTheProgramGoesOn)
{
    // A path below a plain file cannot be written, not even by root.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    iniPath = dir.filePath(QStringLiteral("blocker/tav.Ini"));
    load();
    EXPECT_FALSE(save());
    EXPECT_EQ(prompt.shown().size(), 1);
}

}  // namespace
