// The HTML album: the page text, the tab's checks and the files it writes.
#include "tav/catalog/HtmlAlbum.h"
#include "imgkit/ImgKit.h"
#include "platform/Sjis.h"
#include "tav/catalog/CommentFile.h"
#include "tav/tests/BitmapTestPictures.h"
#include "tav/tests/FakePrintHost.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<HtmlCell> cells(int count)
{
    QList<HtmlCell> list;
    for (int i = 0; i < count; ++i)
        list.append({QStringLiteral("p%1.bmp").arg(i), QStringLiteral("__p%1.jpg").arg(i), {}, 144, 94});
    return list;
}

TEST(HtmlAlbumPageTest, RowsCloseAfterEachFullRowAndOnceMoreAfterAShortOne)
{
    HtmlPageOptions options;
    options.title.clear();
    options.background = 0xFF0000;  // pure blue as a colour reference 0x00BBGGRR
    const QString page = HtmlAlbumPage(options, cells(7));
    EXPECT_TRUE(page.contains(QStringLiteral("<BODY BGCOLOR=\"#0000ff\">\r\n\r\n")));
    const QString fifthEnd =
        QStringLiteral("<IMG SRC=\"p4.bmp\" WIDTH=\"144\" HEIGHT=\"94\" VALIGN=\"middle\" "
                       "BORDER=\"0\" ></A>\r\n</TD>\r\n</TR>\r\n<TD WIDTH");
    EXPECT_TRUE(page.contains(fifthEnd));
    EXPECT_TRUE(
        page.endsWith(QStringLiteral("p6.bmp\" WIDTH=\"144\" HEIGHT=\"94\" VALIGN=\"middle\" BORDER=\"0\" "
                                     "></A>\r\n</TD>\r\n</TR>\r\n\r\n</TABLE></CENTER>\r\n"
                                     "</BODY></HTML>\r\n")));
    EXPECT_EQ(page.count(QStringLiteral("<TR>")), 1);
    EXPECT_EQ(page.count(QStringLiteral("</TR>")), 2);
    EXPECT_EQ(HtmlPageFileName(QStringLiteral("album.html")), QStringLiteral("album.html"));
    EXPECT_EQ(HtmlPageFileName(QStringLiteral("album")), QStringLiteral("album.htm"));
}

TEST(HtmlAlbumPageTest, WholePageWithTitleThumbnailsCaptionAndAwkwardNames)
{
    HtmlPageOptions options;
    options.title = QStringLiteral("Tom & Jerry");
    options.titlePosition = 2;
    options.bold = options.italic = true;
    options.thumbnails = true;
    options.perRow = 1;
    const QList<HtmlCell> list = {{QStringLiteral("a b#%&\".jpg"), QStringLiteral("__a b#%&\".jpg"),
                                   QStringLiteral("a.jpg<br>(4X2,24bitｶﾗｰ)"), 4, 2}};
    const QString expected = QStringLiteral(
        "<HTML>\r\n<HEAD>\r\n"
        "  <META NAME=\"GENERATOR\" CONTENT=\"Tav Ver5.30\">\r\n"
        "  <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;CHARSET=x-sjis\">\r\n"
        "<TITLE>Tom &amp; Jerry</TITLE></HEAD><BODY>\r\n\r\n"
        "<BODY BGCOLOR=\"#ffffff\">\r\n\r\n"
        "<P ALIGN=RIGHT><B><I><FONT SIZE=\"+4\">Tom &amp; Jerry</I></B></P>\r\n\r\n"
        "<HR SIZE=3>\r\n\r\n"
        "<P><TABLE WIDTH=\"512\" BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"0\">\r\n<TR>\r\n\r\n"
        "<TD WIDTH=\"100%\" ALIGN=\"center\">\r\n"
        "<A HREF=\"a%20b%23%25%26%22.jpg\" TARGET=\"_blank\">"
        "<IMG SRC=\"./__tavIdxData/__a%20b%23%25%26%22.jpg\" WIDTH=\"4\" HEIGHT=\"2\" VALIGN=\"middle\" "
        "BORDER=\"0\" NATURALSIZEFLAG=\"0\"><br><FONT SIZE=-1>a.jpg<br>(4X2,24bitｶﾗｰ)</font></TD>\r\n"
        "</TR>\r\n"
        "</TABLE></CENTER>\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(HtmlAlbumPage(options, list), expected);
}

class HtmlAlbumTest : public PrintHostTest {
protected:
    void SetUp() override
    {
        PrintHostTest::SetUp();
        auto& t = host.tabs;
        t.texts[QStringLiteral("tx_pgWidthHt")] = QStringLiteral("512");
        t.texts[QStringLiteral("tx_MaxXnHt")] = QStringLiteral("5");
        t.texts[QStringLiteral("tx_samuW_ht")] = QStringLiteral("144");
        t.texts[QStringLiteral("tx_samuH_ht")] = QStringLiteral("94");
        t.texts[QStringLiteral("tx_htmlFname")] = QStringLiteral("album");
        t.lists[QStringLiteral("pgTitleIchiHt")] = 1;
        t.lists[QStringLiteral("cb_pgFontSizeHt")] = 9;
        t.swatches[QStringLiteral("pgHeikeiColHt")] = 0xFFFFFF;
    }
    QString inFolder(const QString& name) const { return QDir(dir.path()).filePath(name); }
};

TEST_F(HtmlAlbumTest, ChecksStopTheRunWithTheirExactTexts)
{
    auto& t = host.tabs;
    t.texts[QStringLiteral("tx_htmlFname")] = QStringLiteral("a:b");
    WriteHtmlAlbum(host);
    t.texts[QStringLiteral("tx_htmlFname")] = QStringLiteral("album");
    t.texts[QStringLiteral("tx_MaxXnHt")] = QStringLiteral("0");
    t.texts[QStringLiteral("tx_samuW_ht")] = QStringLiteral("9");
    t.texts[QStringLiteral("tx_samuH_ht")] = QStringLiteral("1601");
    WriteHtmlAlbum(host);
    t.texts[QStringLiteral("tx_MaxXnHt")] = QStringLiteral("x");  // not a number: 0
    t.texts[QStringLiteral("tx_samuW_ht")] = QStringLiteral("1601");
    t.texts[QStringLiteral("tx_samuH_ht")] = QStringLiteral("9");
    WriteHtmlAlbum(host);
    // The limits themselves pass: the run gets as far as the empty selection.
    t.texts[QStringLiteral("tx_MaxXnHt")] = QStringLiteral("100");
    t.texts[QStringLiteral("tx_samuW_ht")] = QStringLiteral("10");
    t.texts[QStringLiteral("tx_samuH_ht")] = QStringLiteral("1600");
    WriteHtmlAlbum(host);

    const QString rows = QStringLiteral("「横画像数」が異常です.(1～100の範囲で指定してください)\r\n");
    const QString all =
        rows + QStringLiteral("「縮小画像のｻｲｽﾞ」幅が異常です.(10～1600の範囲で指定してください)\r\n") +
        QStringLiteral("「縮小画像のｻｲｽﾞ」高さが異常です.(10～1600の範囲で指定してください)\r\n");
    EXPECT_EQ(
        prompt.messages(),
        QStringList({QStringLiteral("出力HTMLファイル名に「\\/:,;*?\"<>|」は使えません. 処理を中止しました."),
                     all, all, QStringLiteral("ﾌｧｲﾙが選択されていません.")}));
    EXPECT_EQ(prompt.shown()[1].kind, platform::MessageKind::Error);
    EXPECT_TRUE(host.busy.empty());
}

TEST_F(HtmlAlbumTest, RefusedOverwriteLeavesTheOldPageAndAFailedSaveIsReported)
{
    addPicture(QStringLiteral("a.bmp"), 20, 10);
    QFile old(inFolder(QStringLiteral("album.htm")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old page");
    old.close();
    prompt.answer(platform::Answer::No);
    WriteHtmlAlbum(host);
    EXPECT_EQ(prompt.messages(),
              QStringList({QStringLiteral("HTMLﾌｧｲﾙ「album.htm」は存在します. 上書してよろしいですか?"),
                           QStringLiteral("HTMLの作成を中止しました.")}));
    EXPECT_EQ(readAll(old.fileName()), QByteArray("old page"));
    EXPECT_EQ(host.busy, std::vector<bool>({true, false}));

    // A folder where the page should go cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.htm")));
    host.tabs.texts[QStringLiteral("tx_htmlFname")] = QStringLiteral("taken");
    prompt.clear();
    prompt.answer(platform::Answer::Yes);
    WriteHtmlAlbum(host);
    EXPECT_EQ(prompt.messages().value(1), QStringLiteral("HTMLﾌｧｲﾙ「taken.htm」を保存できませんでした."));
    EXPECT_EQ(prompt.messages().size(), 2);
}

TEST_F(HtmlAlbumTest, TextsOutsideShiftJisAreEscapedOnceAsNumericReferences)
{
    addPicture(QStringLiteral("Café 😀.bmp"), 20, 10);
    ASSERT_EQ(WriteComment(inFolder(QStringLiteral("Café 😀.bmp")), COMKATA{QStringLiteral("Grüße <&> &#x41;"),
                                                                           QStringLiteral("2001"),
                                                                           QStringLiteral("5"),
                                                                           QStringLiteral("3"),
                                                                           {}}),
              0);
    host.tabs.checks[QStringLiteral("ch_PrFnameHt")] = true;
    host.tabs.checks[QStringLiteral("ch_prTiTleHt")] = true;
    host.tabs.texts[QStringLiteral("tx_pgTitleHt")] = QStringLiteral("Fotos München & Co");
    WriteHtmlAlbum(host);

    const QByteArray bytes = readAll(inFolder(QStringLiteral("album.htm")));
    EXPECT_TRUE(bytes.contains("<TITLE>Fotos M&#xFC;nchen &amp; Co</TITLE>"));
    EXPECT_TRUE(bytes.contains("<A HREF=\"Caf%C3%A9%20%F0%9F%98%80.bmp\""));
    // The page's own escaping comes first: a typed "&#x41;" shows as typed.
    EXPECT_TRUE(bytes.contains("<FONT SIZE=-1>Caf&#xE9; &#x1F600;.bmp<br> "
                               "Gr&#xFC;&#xDF;e &lt;&amp;&gt; &amp;#x41;</font>"));
}

TEST_F(HtmlAlbumTest, PageIsShiftJisWithCrLfAndThumbnailsAreJpegsOfTheFittedSize)
{
    addPicture(QStringLiteral("写真 1.bmp"), 200, 100);  // 0.72 of 200 x 100: 144 x 72
    addPicture(QStringLiteral("写真 1.BMP"), 10, 20);  // enlarged 4.7 times: 47 x 94
    QFile text(inFolder(QStringLiteral("notes.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();
    host.selected << text.fileName();
    host.tabs.checks[QStringLiteral("cb_samuHt")] = true;
    host.tabs.checks[QStringLiteral("ch_PrFnameHt")] = true;
    host.tabs.checks[QStringLiteral("cb_dirNameTitle")] = true;
    host.tabs.texts[QStringLiteral("tx_htmlFname")] = QStringLiteral("album.html");
    WriteHtmlAlbum(host);
    EXPECT_EQ(prompt.messages(),
              QStringList(QStringLiteral("完了. ただし 1個の画像のｻﾑﾈｲﾙを作成できませんでした.")));

    const QByteArray bytes = readAll(inFolder(QStringLiteral("album.html")));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    const QString page = platform::fromSjis(bytes);
    EXPECT_TRUE(page.contains(QStringLiteral("<TITLE>") + QFileInfo(dir.path()).fileName() +
                              QStringLiteral("</TITLE>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<A HREF=\"%E5%86%99%E7%9C%9F%201.bmp\" TARGET=\"_blank\">"
                                             "<IMG SRC=\"./__tavIdxData/__%E5%86%99%E7%9C%9F%201.jpg\" "
                                             "WIDTH=\"144\" HEIGHT=\"72\" ")));
    EXPECT_TRUE(page.contains(QStringLiteral("<br><FONT SIZE=-1>写真 1.bmp</font></TD>")));
    // A second picture of the same stem gets its own thumbnail.
    EXPECT_TRUE(
        page.contains(QStringLiteral("__%E5%86%99%E7%9C%9F%201~2.jpg\" WIDTH=\"47\" HEIGHT=\"94\" ")));
    // A file that is no picture keeps its cell at the maximum size.
    EXPECT_TRUE(page.contains(QStringLiteral("__notes.jpg\" WIDTH=\"144\" HEIGHT=\"94\" ")));

    const QString thumbnails = inFolder(QStringLiteral("__tavIdxData"));
    std::int16_t type = 0;
    ASSERT_NE(ImgKitFileType(thumbnails + QStringLiteral("/__写真 1.jpg"), &type), 0);
    EXPECT_EQ(type, ImgKitTypeJpeg);
    const imgkit::DibHandle first = ImgKitFileLoad(thumbnails + QStringLiteral("/__写真 1.jpg"), {}, {});
    ASSERT_TRUE(first);
    EXPECT_EQ(QSize(first.width(), first.height()), QSize(144, 72));
    const imgkit::DibHandle second = ImgKitFileLoad(thumbnails + QStringLiteral("/__写真 1~2.jpg"), {}, {});
    ASSERT_TRUE(second);
    EXPECT_EQ(QSize(second.width(), second.height()), QSize(47, 94));

    // Again, keeping the thumbnails: a kept one gives its own size.
    ASSERT_NE(ImgKitJpegFileSave(thumbnails + QStringLiteral("/__写真 1.jpg"),
                                 testpic::solid(30, 15, testpic::kRed), {}, {}, 70, 0),
              0);
    prompt.clear();
    prompt.answer(platform::Answer::Yes);  // overwrite the page
    prompt.answer(platform::Answer::No);  // keep the thumbnails
    WriteHtmlAlbum(host);
    EXPECT_EQ(prompt.messages().value(1),
              QStringLiteral("HTML用ｻﾑﾈｲﾙﾌｫﾙﾀﾞが存在します. 同名のHTML用ｻﾑﾈｲﾙは上書きされます."));
    EXPECT_TRUE(platform::fromSjis(readAll(inFolder(QStringLiteral("album.html"))))
                    .contains(QStringLiteral("__%E5%86%99%E7%9C%9F%201.jpg\" WIDTH=\"30\" HEIGHT=\"15\" ")));
}

}  // namespace
