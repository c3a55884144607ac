#include "platform/Sjis.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Sjis, JapaneseTextRoundTripsWithTheCodePageBytes)
{
    const QString halfWidth = QStringLiteral("ﾌｧｲﾙ名(昇順)");
    const QByteArray halfWidthBytes("\xcc\xa7\xb2\xd9\x96\xbc(\x8f\xb8\x8f\x87)");
    EXPECT_EQ(toSjis(halfWidth), halfWidthBytes);
    EXPECT_EQ(fromSjis(halfWidthBytes), halfWidth);

    const QString fullWidth = QStringLiteral("ＭＳ Ｐゴシック");
    const QByteArray fullWidthBytes("\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_EQ(toSjis(fullWidth), fullWidthBytes);
    EXPECT_EQ(fromSjis(fullWidthBytes), fullWidth);

    // Backslash and tilde stay ASCII, as paths and settings expect.
    EXPECT_EQ(toSjis(QStringLiteral("C:\\a~b")), QByteArray("C:\\a~b"));
    EXPECT_EQ(fromSjis("C:\\a~b"), QStringLiteral("C:\\a~b"));
}

TEST(Sjis, TextOutsideTheCodePageRoundTripsAsNumericReferences)
{
    EXPECT_EQ(toSjis(QStringLiteral("Fotos München")), QByteArray("Fotos M&#xFC;nchen"));
    // A character outside the basic plane (a surrogate pair) is one reference.
    EXPECT_EQ(toSjis(QStringLiteral("x\U0001F600y名")), QByteArray("x&#x1F600;y\x96\xbc"));
    // The code page maps the yen sign onto the backslash: kept as a reference.
    EXPECT_EQ(toSjis(QStringLiteral("\u00A5")), QByteArray("&#xA5;"));
    // A literal reference in the text is protected, other ampersands stay.
    EXPECT_EQ(toSjis(QStringLiteral("a&#x41;b & c")), QByteArray("a&#x26;#x41;b & c"));

    for (const QString& text : {QStringLiteral("josé/Café 😀"), QStringLiteral("a&#x41;&#x26;;&"),
                                QStringLiteral("\u00A5\u301C名\\x&#;&#xZZ;&#x110000;")})
        EXPECT_EQ(fromSjis(toSjis(text)), text) << qPrintable(text);
    // References in any case of hexadecimal are read; invalid ones stay text.
    EXPECT_EQ(fromSjis("&#xfc;&#xD800;&#x;"), QStringLiteral("ü&#xD800;&#x;"));
    // A character is no hex digit because its low byte is one (U+4E38 ends in '8').
    const QByteArray maru = QByteArray("&#x") + toSjis(QStringLiteral("丸")) + ';';
    EXPECT_EQ(toSjis(QStringLiteral("&#x丸;")), maru);
    EXPECT_EQ(fromSjis(maru), QStringLiteral("&#x丸;"));
}

TEST(Sjis, InvalidBytesBecomeReplacementCharacters)
{
    const QChar bad(QChar::ReplacementCharacter);
    EXPECT_EQ(fromSjis(QByteArray("a\xff"
                                  "b")),
              QString("a") + bad + "b");
    EXPECT_EQ(fromSjis(QByteArray("a\x85\x40"
                                  "b"))
                  .front(),
              u'a');
    EXPECT_TRUE(fromSjis(QByteArray("a\x85\x40"
                                    "b"))
                    .contains(bad));
    EXPECT_EQ(fromSjis(QByteArray("ab\x82")), QString("ab") + bad);  // truncated at the end
}

TEST(Sjis, CutLengthNeverSplitsADoubleByteCharacter)
{
    const QByteArray text = toSjis(QStringLiteral("aあい"));  // 1 + 2 + 2 bytes
    EXPECT_EQ(sjisCutLength(text, 5), 5);
    EXPECT_EQ(sjisCutLength(text, 4), 3);
    EXPECT_EQ(sjisCutLength(text, 2), 1);
    EXPECT_EQ(sjisCutLength(text, 0), 0);
    EXPECT_EQ(sjisCutLength(text, 100), 5);
    // Half-width katakana are single bytes.
    EXPECT_EQ(sjisCutLength(toSjis(QStringLiteral("ﾌｧｲﾙ")), 3), 3);
    // A lone lead byte at the end is dropped.
    EXPECT_EQ(sjisCutLength(QByteArray("ab\x82"), 10), 2);
    // A reference is never cut in two.
    EXPECT_EQ(sjisCutLength(QByteArray("ab&#xFC;c"), 6), 2);
    EXPECT_EQ(sjisCutLength(QByteArray("ab&#xFC;c"), 8), 8);
}
