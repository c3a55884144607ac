#include "imgkit/src/FaxG4.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace imgkit {
namespace {

struct Code {
    std::uint16_t bits = 0;
    std::uint8_t length = 0;
};

constexpr Code code(const char* text)
{
    Code c;
    for (; *text; ++text, ++c.length)
        c.bits = std::uint16_t(c.bits << 1 | (*text == '1'));
    return c;
}

template <std::size_t N>
constexpr std::array<Code, N> codes(const char* const (&texts)[N])
{
    std::array<Code, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = code(texts[i]);
    return out;
}

// Runs of 0 to 63 pixels.
constexpr const char* kWhiteTerminating[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100"};
constexpr const char* kBlackTerminating[64] = {
    "0000110111",   "010",          "11",           "10",           "011",          "0011",
    "0010",         "00011",        "000101",       "000100",       "0000100",      "0000101",
    "0000111",      "00000100",     "00000111",     "000011000",    "0000010111",   "0000011000",
    "0000001000",   "00001100111",  "00001101000",  "00001101100",  "00000110111",  "00000101000",
    "00000010111",  "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010", "000011010011",
    "000011010100", "000011010101", "000011010110", "000011010111", "000001101100", "000001101101",
    "000011011010", "000011011011", "000001010100", "000001010101", "000001010110", "000001010111",
    "000001100100", "000001100101", "000001010010", "000001010011", "000000100100", "000000110111",
    "000000111000", "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111"};
// Runs of 64, 128, ... 2560 pixels: one colour's own up to 1728, the shared ones above.
constexpr const char* kWhiteMakeUp[40] = {
    "11011",        "10010",        "010111",       "0110111",      "00110110",     "00110111",
    "01100100",     "01100101",     "01101000",     "01100111",     "011001100",    "011001101",
    "011010010",    "011010011",    "011010100",    "011010101",    "011010110",    "011010111",
    "011011000",    "011011001",    "011011010",    "011011011",    "010011000",    "010011001",
    "010011010",    "011000",       "010011011",    "00000001000",  "00000001100",  "00000001101",
    "000000010010", "000000010011", "000000010100", "000000010101", "000000010110", "000000010111",
    "000000011100", "000000011101", "000000011110", "000000011111"};
constexpr const char* kBlackMakeUp[40] = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",  "000000110100",
    "000000110101",  "0000001101100", "0000001101101", "0000001001010", "0000001001011", "0000001001100",
    "0000001001101", "0000001110010", "0000001110011", "0000001110100", "0000001110101", "0000001110110",
    "0000001110111", "0000001010010", "0000001010011", "0000001010100", "0000001010101", "0000001011010",
    "0000001011011", "0000001100100", "0000001100101", "00000001000",   "00000001100",   "00000001101",
    "000000010010",  "000000010011",  "000000010100",  "000000010101",  "000000010110",  "000000010111",
    "000000011100",  "000000011101",  "000000011110",  "000000011111"};
// Vertical modes for a1 - b1 from -3 to 3.
constexpr const char* kVertical[7] = {"0000010", "000010", "010", "1", "011", "000011", "0000011"};

constexpr auto kWhite = codes(kWhiteTerminating);
constexpr auto kBlack = codes(kBlackTerminating);
constexpr auto kWhiteLong = codes(kWhiteMakeUp);
constexpr auto kBlackLong = codes(kBlackMakeUp);
constexpr auto kVerticalCodes = codes(kVertical);
constexpr Code kPass = code("0001");
constexpr Code kHorizontal = code("001");
constexpr Code kEndOfLine = code("000000000001");

// Codes gathered in a 64-bit register, 32 bits at a time into the output,
// which grows ahead of each line by more than a line can take.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : m_out(out), m_size(out.size()) {}

    // Room for `bits` more bits of codes.
    void reserve(std::size_t bits)
    {
        m_out.resize(m_size + bits / 8 + 16);
        m_at = m_out.data() + m_size;
    }

    void put(Code c)
    {
        m_bits = m_bits << c.length | c.bits;
        m_count += c.length;
        if (m_count >= 32) {
            m_count -= 32;
            const auto word = std::uint32_t(m_bits >> m_count);
            m_at[0] = std::uint8_t(word >> 24);
            m_at[1] = std::uint8_t(word >> 16);
            m_at[2] = std::uint8_t(word >> 8);
            m_at[3] = std::uint8_t(word);
            m_at += 4;
            m_size += 4;
        }
    }

    void putRun(int run, bool black)
    {
        const auto& terminating = black ? kBlack : kWhite;
        const auto& makeUp = black ? kBlackLong : kWhiteLong;
        for (; run >= 2624; run -= 2560)
            put(makeUp[39]);
        if (run >= 64) {
            put(makeUp[run / 64 - 1]);
            run %= 64;
        }
        put(terminating[run]);
    }

    // The last bits, padded with zero bits to a whole byte; the output ends there.
    void flush()
    {
        reserve(64);
        for (; m_count > 0; m_count -= 8, ++m_size)
            *m_at++ = std::uint8_t(m_count >= 8 ? m_bits >> (m_count - 8) : m_bits << (8 - m_count));
        m_count = 0;
        m_out.resize(m_size);
    }

private:
    std::vector<std::uint8_t>& m_out;
    std::size_t m_size;  // bytes written
    std::uint8_t* m_at = nullptr;  // where the next byte goes
    std::uint64_t m_bits = 0;
    int m_count = 0;
};

constexpr int kSentinels = 3;

// Each byte with its bits in the opposite order.
constexpr std::array<std::uint8_t, 256> kReversed = [] {
    std::array<std::uint8_t, 256> r{};
    for (int i = 0; i < 256; ++i)
        for (int bit = 0; bit < 8; ++bit)
            if (i & (1 << bit))
                r[std::size_t(i)] |= std::uint8_t(0x80 >> bit);
    return r;
}();

// The changing elements of one line (the columns whose colour differs from
// the one before, the line starting after a white pixel), followed by
// `width` as many times as the coder may look past the last one. The line is
// read 64 columns at a time, column x at bit x of the word, so that each
// change is the lowest bit left and is taken off in one step.
void findChanges(const std::uint8_t* line, int width, std::vector<int>& changes)
{
    changes.resize(std::size_t(width) + kSentinels + 64);  // a change at most at every column
    int* out = changes.data();
    std::uint64_t before = 0;  // the column left of the word, in bit 0
    const int bytes = (width + 7) / 8;
    for (int x = 0; x < width; x += 64) {
        const int count = std::min(8, bytes - x / 8);
        std::uint64_t word = 0;
        for (int i = 0; i < count; ++i)
            word |= std::uint64_t{kReversed[line[x / 8 + i]]} << (8 * i);
        if (width - x < 64)
            word &= (std::uint64_t{1} << (width - x)) - 1;
        for (std::uint64_t differs = word ^ (word << 1 | before); differs; differs &= differs - 1)
            *out++ = x + std::countr_zero(differs);
        before = word >> 63;
    }
    // The masked tail may show a change at `width` itself.
    if (out != changes.data() && out[-1] >= width)
        --out;
    std::fill(out, out + kSentinels, width);
}

// One line against its reference line, both as lists of changing elements.
// Changes at even places turn black, at odd places white.
void encodeLine(const std::vector<int>& line, const std::vector<int>& reference, int width, BitWriter& bits)
{
    int a0 = 0;
    std::size_t a = 0;  // the first change on the line right of a0 (at or right of it at the start)
    std::size_t b = 0;  // the same on the reference line
    for (;;) {
        // a0 is black after an odd number of changes: the colour is a's parity.
        const bool black = a & 1;
        const int a1 = line[a];
        const std::size_t b1At = b + ((a ^ b) & 1);  // the next change to the other colour
        const int b1 = reference[b1At];
        const int b2 = reference[b1At + 1];
        if (b2 < a1) {
            bits.put(kPass);
            a0 = b2;
        } else if (a1 - b1 >= -3 && a1 - b1 <= 3) {
            bits.put(kVerticalCodes[std::size_t(a1 - b1 + 3)]);
            a0 = a1;
        } else {
            const int a2 = line[a + 1];
            bits.put(kHorizontal);
            bits.putRun(a1 - a0, black);
            bits.putRun(a2 - a1, !black);
            a0 = a2;
        }
        if (a0 >= width)
            return;
        while (line[a] <= a0)
            ++a;
        while (reference[b] <= a0)
            ++b;
    }
}

}  // namespace

void encodeG4Strip(const std::uint8_t* lines, std::size_t stride, int width, int rows,
                   std::vector<std::uint8_t>& out)
{
    if (width <= 0 || rows <= 0)
        return;
    BitWriter bits(out);
    std::vector<int> reference(kSentinels, width);  // a white line
    std::vector<int> line;
    for (int y = 0; y < rows; ++y) {
        // A line takes at most 27 bits for every two columns (a horizontal
        // mode of two short runs) and a few more for its first code.
        bits.reserve(std::size_t(width) * 14 + 64);
        findChanges(lines + std::size_t(y) * stride, width, line);
        encodeLine(line, reference, width, bits);
        std::swap(line, reference);
    }
    bits.put(kEndOfLine);
    bits.put(kEndOfLine);
    bits.flush();
}

}  // namespace imgkit
