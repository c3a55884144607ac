#include "platform/ProfileFile.h"
#include "platform/RasterPrinter.h"
#include "platform/Registry.h"
#include "platform/Sjis.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/RunState.h"
#include "tav/core/SettingsSchema.h"
#include "tav/core/ui/FileColumn.h"
#include "tav/core/ui/MultiRowTabs.h"
#include "tav/core/ui/main.h"
#include "tav/tests/IgnoringSettingsVisitor.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "tav/core/ui/ColorSwatch.h"
#include "tav/core/ui/UpDown.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        programFolder = dir.path() + QLatin1Char('/');
        QDir().mkpath(programFolder + QStringLiteral("help"));
        for (const char* page : {"index.html", "topic-5.html", "report.html"}) {
            QFile f(programFolder + QStringLiteral("help/") + QString::fromLatin1(page));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        registry = std::make_unique<platform::Registry>(programFolder + QStringLiteral("reg.sqlite3"));
    }

    std::unique_ptr<TfrTav> makeWindow()
    {
        MainWindowEnvironment env;
        env.programFolder = programFolder;
        env.registry = registry.get();
        env.openExternal = [this](const QString& target) {
            opened << target;
            return true;
        };
        return std::make_unique<TfrTav>(env);
    }
    QString iniPath() const { return programFolder + QStringLiteral("tav.Ini"); }
    void writeIni(const QString& text)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(platform::toSjis(text));
    }
    QString read(const char* section, const char* key)
    {
        return platform::ProfileFile(iniPath()).readString(QString::fromUtf8(section), QString::fromUtf8(key),
                                                           QStringLiteral("<absent>"));
    }

    QTemporaryDir dir;
    QString programFolder;
    std::unique_ptr<platform::Registry> registry;
    QStringList opened;
    platform::ScriptedPrompt prompt;
};

// Every control the settings file feeds must exist with a widget of the kind
// the value is stored as; a missing one would silently lose the user's setting.
struct ControlKinds : IgnoringSettingsVisitor {
    QStringList buttons, lists, counters, edits, swatches;
    void flag(const char*, bool, const char* c) override { buttons << QString::fromUtf8(c); }
    void listIndex(const char*, int, const char* c) override { lists << QString::fromUtf8(c); }
    void counterText(const char*, int, const char* c, const char* e) override
    {
        counters << QString::fromUtf8(c);
        edits << QString::fromUtf8(e);
    }
    void counterNumber(const char* k, int d, const char* c, const char* e) override
    {
        counterText(k, d, c, e);
    }
    void counterPosition(const char*, int, const char* c) override { counters << QString::fromUtf8(c); }
    void text(const char*, const char*, const char* c) override { edits << QString::fromUtf8(c); }
    void swatch(const char*, std::uint32_t, const char* c) override { swatches << QString::fromUtf8(c); }
    void radioChoice(const char*, const char* const* b, int n) override
    {
        for (int i = 0; i < n; ++i)
            buttons << QString::fromUtf8(b[i]);
    }
};

TEST_F(MainWindowTest, HasTheElevenTabsInOrderAndEveryMenu)
{
    auto w = makeWindow();
    EXPECT_EQ(w->size(), QSize(800, 598));
    auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_TRUE(tabs);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    EXPECT_EQ(captions,
              (QStringList{"1ﾍﾟｰｼﾞ1画像印刷", "1ﾍﾟｰｼﾞ複数画像印刷", "ﾌﾟﾘｸﾗ印刷", "画像調整", "ﾌｧｲﾙ変換",
                           "一括ｻﾑﾈｲﾙ", "ｲﾝﾃﾞｯｸｽ印刷", "ｻｰﾋﾞｽ版印刷", "ｱﾙﾊﾞﾑ印刷", "ﾀｲﾄﾙとｺﾒﾝﾄ", "HTML"}));

    QStringList menus;
    for (QAction* a : w->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "印刷ﾌｧｲﾙ選択(&S)", "ﾀｲﾄﾙとｺﾒﾝﾄ(&T)",
                                  "ｵﾌﾟｼｮﾝ(&O)", "ﾍﾙﾌﾟ(&H)"}));
    QStringList items;
    for (QAction* menu : w->menuBar()->actions())
        for (QAction* a : menu->menu()->actions())
            if (!a->isSeparator())
                items << a->text();
    EXPECT_EQ(items,
              (QStringList{"ﾌﾟﾘﾝﾀの設定", "終了(&X)", "選択中の画像を編集",
                           "選択中の画像ﾌｧｲﾙを削除 (ごみ箱へ)", "最新の情報に更新(&R)", "全てを選択",
                           "選択反転", "選択解除", "選択中の画像のﾀｲﾄﾙとｺﾒﾝﾄを編集", "環境設定(&O)",
                           "ﾄﾋﾟｯｸの検索(&H)", "ﾜﾝﾎﾟｲﾝﾄ(&T)", "作者にﾒｰﾙを書く(&M)", "ｻﾎﾟｰﾄﾎｰﾑﾍﾟｰｼﾞへ(&G)"}));
    auto* popup = w->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_TRUE(popup);
    QStringList popupItems;
    for (QAction* a : popup->actions())
        if (!a->isSeparator())
            popupItems << a->text();
    EXPECT_EQ(popupItems, (QStringList{"この画像を表示", "この画像を編集", "この画像のﾀｲﾄﾙとｺﾒﾝﾄを編集",
                                       "この画像ﾌｧｲﾙを削除 (ごみ箱へ)", "全てを選択", "全ての選択を解除",
                                       "全ての選択を反転", "ｶﾀﾛｸﾞ保存・更新"}));
}

TEST_F(MainWindowTest, EveryControlTheSettingsFeedExistsWithItsKind)
{
    auto w = makeWindow();
    ControlKinds kinds;
    AppSettings scratch;
    walkSettingsSchema(kinds, scratch);
    for (const QString& n : kinds.buttons)
        EXPECT_TRUE(w->findChild<QAbstractButton*>(n)) << n.toStdString();
    for (const QString& n : kinds.lists)
        EXPECT_TRUE(w->findChild<QComboBox*>(n)) << n.toStdString();
    for (const QString& n : kinds.counters)
        EXPECT_TRUE(w->findChild<UpDown*>(n)) << n.toStdString();
    for (const QString& n : kinds.edits)
        EXPECT_TRUE(w->findChild<QLineEdit*>(n)) << n.toStdString();
    for (const QString& n : kinds.swatches)
        EXPECT_TRUE(w->findChild<ColorSwatch*>(n)) << n.toStdString();
}

TEST_F(MainWindowTest, SettingsSurviveARunThroughTheRealControls)
{
    writeIni(QStringLiteral("[P1]\r\nzentai=0\r\nw=12.5\r\n[PN]\r\nh=5\r\ngasuKara=0\r\ntateYokoKara=1\r\n"
                            "[SUM]\r\nkageCol=255\r\nyohaku=7\r\n[SV_PR]\r\nsize=4\r\n[HTML]\r\nXN=7\r\n"
                            "[FILE_HENKAN]\r\nbmp=0\r\njpg=1\r\njpg_comp=85\r\n[ETC]\r\nSORT=3\r\n"
                            "[CD_COL]\r\nCOL1=ColorA=ff0000\r\n"));
    auto w = makeWindow();
    w->close();
    EXPECT_EQ(read("P1", "zentai"), QStringLiteral("0"));
    EXPECT_EQ(read("P1", "w"), QStringLiteral("12.5"));
    EXPECT_EQ(read("PN", "h"), QStringLiteral("5"));
    EXPECT_EQ(read("PN", "gasuKara"), QStringLiteral("0"));
    EXPECT_EQ(read("PN", "tateYokoKara"), QStringLiteral("1"));
    EXPECT_EQ(read("SUM", "kageCol"), QStringLiteral("255"));
    EXPECT_EQ(read("SUM", "yohaku"), QStringLiteral("7"));
    EXPECT_EQ(read("SV_PR", "size"), QStringLiteral("4"));
    EXPECT_EQ(read("HTML", "XN"), QStringLiteral("7"));
    EXPECT_EQ(read("FILE_HENKAN", "bmp"), QStringLiteral("0"));
    EXPECT_EQ(read("FILE_HENKAN", "jpg"), QStringLiteral("1"));
    EXPECT_EQ(read("FILE_HENKAN", "jpg_comp"), QStringLiteral("85"));
    EXPECT_EQ(read("ETC", "SORT"), QStringLiteral("3"));
    EXPECT_EQ(read("CD_COL", "COL1"), QStringLiteral("ColorA=ff0000"));
    EXPECT_EQ(read("CD_COL", "COL2"), QString());
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(MainWindowTest, FolderAndTitleOutsideShiftJisSurviveARestart)
{
    const QString folder = dir.path() + QStringLiteral("/Fotos München");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString title = QStringLiteral("Café 😀");
    {
        auto w = makeWindow();
        w->findChild<FileColumn*>()->openFolder(folder);
        w->findChild<QLineEdit*>(QStringLiteral("tx_pgTitleHt"))->setText(title);
        w->close();
    }
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray bytes = ini.readAll();
    EXPECT_TRUE(bytes.contains("/Fotos M&#xFC;nchen\r\n"));
    EXPECT_TRUE(bytes.contains("TiTle=Caf&#xE9; &#x1F600;\r\n"));

    auto w = makeWindow();
    EXPECT_EQ(w->currentFolder(), folder);
    EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("tx_pgTitleHt"))->text(), title);
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(MainWindowTest, RadioButtonsSwitchedOffStayOff)
{
    writeIni(QStringLiteral("[FILE_HENKAN]\r\nbmp=0\r\njpg=0\r\ntif=0\r\n"));
    auto w = makeWindow();
    w->close();
    EXPECT_EQ(read("FILE_HENKAN", "bmp"), QStringLiteral("0"));
    EXPECT_EQ(read("FILE_HENKAN", "jpg"), QStringLiteral("0"));
    EXPECT_EQ(read("FILE_HENKAN", "tif"), QStringLiteral("0"));
}

TEST_F(MainWindowTest, BusyModeDisablesExactlyItsControls)
{
    auto w = makeWindow();
    // Controls switched off by their own tab's rules stay as they are; what
    // busy mode changes is compared.
    const auto explicitlyDisabled = [&] {
        QSet<QString> names;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (!c->objectName().isEmpty() && c->testAttribute(Qt::WA_ForceDisabled))
                names << c->objectName();
        return names;
    };
    const auto joined = [](const QSet<QString>& set) {
        QStringList list(set.begin(), set.end());
        list.sort();
        return list.join(QLatin1Char(' ')).toStdString();
    };
    auto* stop = w->findChild<QPushButton*>(QStringLiteral("bt_stop"));
    ASSERT_TRUE(stop);
    const QSet<QString> idle = explicitlyDisabled();
    EXPECT_TRUE(idle.contains(QStringLiteral("bt_stop")));

    w->SetBusy(true);
    const QSet<QString> busy = explicitlyDisabled();
    // The catalogue grid shows file_list3's items and follows it.
    EXPECT_EQ(joined(busy - idle), joined({"PageControl1", "dr_list", "dir_list", "FilterComboBox1",
                                           "file_list3", "file_list3Grid", "TabControl1", "bt_sumNe",
                                           "bt_path_set", "bt_fileConv", "bt_suOutPath", "bt_sumPv"}));
    EXPECT_EQ(joined(idle - busy), "bt_stop");
    EXPECT_TRUE(stop->isEnabled());
    QStringList disabledMenus;
    for (QAction* a : w->menuBar()->actions())
        if (!a->isEnabled())
            disabledMenus << a->text();
    EXPECT_EQ(disabledMenus.join(QLatin1Char(' ')).toStdString(), "ﾌｧｲﾙ(&F) ｵﾌﾟｼｮﾝ(&O) ﾍﾙﾌﾟ(&H)");
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);

    w->SetBusy(false);
    EXPECT_EQ(joined(explicitlyDisabled()), joined(idle));
    for (QAction* a : w->menuBar()->actions())
        EXPECT_TRUE(a->isEnabled());
    EXPECT_NE(w->cursor().shape(), Qt::WaitCursor);
}

TEST_F(MainWindowTest, EscAndTheStopButtonRequestAStopAndF1OpensTheContents)
{
    auto w = makeWindow();
    w->show();
    AbortRequested = false;
    QTest::keyRelease(w->findChild<QWidget*>(QStringLiteral("file_list3")), Qt::Key_Escape);
    EXPECT_TRUE(AbortRequested);

    AbortRequested = false;
    w->SetBusy(true);
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("bt_stop")), Qt::LeftButton);
    EXPECT_TRUE(AbortRequested);
    w->SetBusy(false);
    AbortRequested = false;

    auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(0);
    QTest::keyRelease(tabs->currentWidget(), Qt::Key_F1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.last(), programFolder + QStringLiteral("help/index.html"));

    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("bt_help")), Qt::LeftButton);
    EXPECT_EQ(opened.last(), programFolder + QStringLiteral("help/topic-5.html"));
}

TEST_F(MainWindowTest, TheMailAndSupportItemsOpenTheLocalReportPage)
{
    auto w = makeWindow();
    w->findChild<QAction*>(QStringLiteral("mnuSendMail"))->trigger();
    w->findChild<QAction*>(QStringLiteral("mnuGoHp"))->trigger();
    EXPECT_EQ(opened, QStringList(2, programFolder + QStringLiteral("help/report.html")));
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(MainWindowTest, AllTabsInSightNoGrowthWithALongPathAndSmallScreensFit)
{
    auto w = makeWindow();
    w->show();
    QCoreApplication::processEvents();
    const QSize shown = w->size();
    auto* tabs = w->findChild<MultiRowTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_TRUE(tabs);
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_TRUE(tabs->rows()->rect().contains(tabs->rows()->rowRect(i))) << i;

    // A picture deep in long folder names on the titles tab: the window keeps its width.
    const QString folder = dir.path() + QLatin1Char('/') + QString(120, QLatin1Char('a')) + QLatin1Char('/') +
                           QString(120, QLatin1Char('b'));
    QDir().mkpath(folder);
    QFile(folder + QStringLiteral("/one.jpg")).open(QIODevice::WriteOnly);
    tabs->setCurrentIndex(9);
    w->fileColumn()->openFolder(folder);
    w->fileColumn()->selectAll();
    w->setStatus(folder + QStringLiteral("/one.jpg を印刷中です。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)"));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), shown);

    // Nothing in the window holds it wider or taller than a small screen.
    w->resize(640, 480);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(640, 480));
}

TEST_F(MainWindowTest, TheFileColumnsWidthAndVisitedFoldersAreKept)
{
    const QString pictures = dir.path() + QStringLiteral("/pictures");
    QDir().mkpath(pictures);
    {
        auto w = makeWindow();
        w->show();
        w->fileColumn()->openFolder(pictures);
        auto* splitter = w->findChild<QSplitter*>(QStringLiteral("sp_fileColumn"));
        EXPECT_EQ(splitter->sizes().value(0), 220);
        splitter->setSizes({330, 460});
        w->close();
    }
    EXPECT_EQ(read("BROWSE", "retsuHaba"), QStringLiteral("330"));
    EXPECT_EQ(read("BROWSE", "rireki1"), pictures);
    auto w = makeWindow();
    w->show();
    EXPECT_EQ(w->findChild<QSplitter*>(QStringLiteral("sp_fileColumn"))->sizes().value(0), 330);
    EXPECT_EQ(w->fileColumn()->recentFolders().value(0), pictures);
}

TEST_F(MainWindowTest, EveryTabButtonRunsItsCommand)
{
    auto w = makeWindow();
    // The sheet command checks its output folder before anything else.
    w->findChild<QPushButton*>(QStringLiteral("bt_sumNe"))->click();
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("結果を格納するﾌｫﾙﾀﾞが存在しません。")));
}

TEST_F(MainWindowTest, PrintButtonPrintsTheSelectedPictureAfterThePrintDialog)
{
    QDir(programFolder).mkdir(QStringLiteral("pics"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(programFolder + QStringLiteral("pics/a.bmp"), "BMP"));
    writeIni(QStringLiteral("[ETC]\r\nDIR=%1pics\r\n").arg(programFolder));
    auto printer =
        std::make_shared<platform::RasterPrinter>(platform::RasterPrinter::paper(100, 100, 150, 0));
    MainWindowEnvironment env;
    env.programFolder = programFolder;
    env.registry = registry.get();
    env.printDevice = printer;
    TfrTav w(env);
    w.findChild<QAction*>(QStringLiteral("mnuSelectAll"))->trigger();
    prompt.answer(true);  // the print dialog
    w.findChild<QPushButton*>(QStringLiteral("bt_Prt"))->click();
    ASSERT_FALSE(prompt.shown().empty());
    EXPECT_EQ(prompt.shown()[0].type, platform::PromptRecord::Type::Print);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));
    EXPECT_EQ(printer->pages().size(), 1);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("msg"))->text(),
              QStringLiteral("1/1個のﾌｧｲﾙを選択しています。"));
}

TEST_F(MainWindowTest, SelectionCommandsWriteTheStatus)
{
    QDir folder(programFolder);
    folder.mkdir(QStringLiteral("pics"));
    for (const char* name : {"a.jpg", "b.jpg", "c.bmp", "a.tav"}) {
        QFile f(programFolder + QStringLiteral("pics/") + QString::fromLatin1(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    writeIni(QStringLiteral("[ETC]\r\nDIR=%1pics\r\n").arg(programFolder));
    auto w = makeWindow();
    auto* msg = w->findChild<QLabel*>(QStringLiteral("msg"));
    w->findChild<QAction*>(QStringLiteral("mnuSelectAll"))->trigger();
    EXPECT_EQ(msg->text(), QStringLiteral("3/3個のﾌｧｲﾙを選択しています。"));
    w->findChild<QAction*>(QStringLiteral("mnuUnSel"))->trigger();
    EXPECT_EQ(msg->text(), QStringLiteral("0/3個のﾌｧｲﾙを選択しています。"));
    w->fileColumn()->fileView()->topLevelItem(0)->setSelected(true);
    w->findChild<QAction*>(QStringLiteral("mnuSelHanten"))->trigger();
    EXPECT_EQ(msg->text(), QStringLiteral("2/3個のﾌｧｲﾙを選択しています。"));
    EXPECT_EQ(w->fileColumn()->selectedPaths(), (QStringList{programFolder + QStringLiteral("pics/b.jpg"),
                                                             programFolder + QStringLiteral("pics/c.bmp")}));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ASwatchChoosesItsColourWithTheCustomColoursOfTheSettings)
{
    writeIni(QStringLiteral("[CD_COL]\r\nCOL1=ColorB=00ff00\r\n"));
    auto w = makeWindow();
    auto* swatch = w->findChild<ColorSwatch*>(QStringLiteral("suKageCol"));
    ASSERT_TRUE(swatch);
    prompt.answer(std::optional<std::uint32_t>(0x123456));
    QTest::mouseClick(swatch, Qt::LeftButton);
    EXPECT_EQ(swatch->colorRef(), 0x123456u);
    w->close();
    EXPECT_EQ(read("SUM", "kageCol"), QString::number(0x123456));
    EXPECT_EQ(read("CD_COL", "COL1"), QStringLiteral("ColorA=ffffff"));
    EXPECT_EQ(read("CD_COL", "COL2"), QStringLiteral("ColorB=00ff00"));
    EXPECT_EQ(read("CD_COL", "COL16"), QStringLiteral("ColorP=ffffff"));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, PrinterSetUpOpensTheSystemDialog)
{
    auto w = makeWindow();
    prompt.answer(true);
    w->findChild<QAction*>(QStringLiteral("prSetUp"))->trigger();
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].type, platform::PromptRecord::Type::PrinterSetup);
}

}  // namespace
