#include "setup/engine/LzExpand.h"

#include <gtest/gtest.h>

using setup::lzExpand;

namespace {

// Header of a file whose name ended in `missing`, expanding to `length` bytes.
QByteArray header(quint32 length, char missing = 'L')
{
    QByteArray h("SZDD\x88\xF0\x27\x33", 8);
    h.append('A').append(missing);
    for (int i = 0; i < 4; ++i)
        h.append(char(length >> (8 * i) & 0xFF));
    return h;
}

// Three literals, a copy of six bytes from where they landed in the ring
// (position 4080, overlapping its own output) and a copy of three of the
// spaces the ring starts with.
const QByteArray kBody("\x07"
                       "abc"
                       "\xF0\xF3"
                       "\x00\x00",
                       8);

}  // namespace

TEST(LzExpand, LiteralsOverlappingCopiesAndTheRingsInitialSpaces)
{
    const auto out = lzExpand(header(12) + kBody);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->data, QByteArray("abcabcabc   "));
    EXPECT_EQ(out->missingChar, 'L');
}

TEST(LzExpand, StopsAtTheStoredLengthAndRejectsBadInput)
{
    const auto shortOut = lzExpand(header(5) + kBody);
    ASSERT_TRUE(shortOut);
    EXPECT_EQ(shortOut->data, QByteArray("abcab"));

    EXPECT_FALSE(lzExpand(header(13) + kBody));  // data ends early
    EXPECT_FALSE(lzExpand(header(12) + kBody.left(5)));  // a pair cut in half
    EXPECT_FALSE(lzExpand(header(12) + kBody, 11));  // above the limit
    QByteArray badMode = header(12) + kBody;
    badMode[8] = 'B';
    EXPECT_FALSE(lzExpand(badMode));
    EXPECT_FALSE(lzExpand(QByteArray("SZDD")));
    EXPECT_FALSE(lzExpand(QByteArray("plain text, not compressed")));
    // A header claiming 4 GiB with no data fails without allocating it.
    EXPECT_FALSE(lzExpand(header(0xFFFFFFFFu)));
}
