#include "imgkit/src/Quantize.h"

#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace imgkit {
namespace {

constexpr int kBins = 32;  // histogram cells per channel (5 bits)

std::uint32_t key(Bgr c) { return c.b | (c.g << 8) | (std::uint32_t(c.r) << 16); }

struct Histogram {
    std::vector<std::uint32_t> count = std::vector<std::uint32_t>(kBins * kBins * kBins);
    std::vector<std::array<std::uint64_t, 3>> sum =
        std::vector<std::array<std::uint64_t, 3>>(kBins * kBins * kBins);
    bool hasWhite = false;
    bool hasBlack = false;
    static int index(int r, int g, int b) { return (r * kBins + g) * kBins + b; }
};

struct Box {
    int lo[3];
    int hi[3];  // inclusive, channel order r, g, b
    std::uint64_t count = 0;
};

void shrink(Box& box, const Histogram& h)
{
    int lo[3] = {kBins, kBins, kBins}, hi[3] = {-1, -1, -1};
    box.count = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const std::uint32_t n = h.count[Histogram::index(r, g, b)];
                if (!n)
                    continue;
                box.count += n;
                const int v[3] = {r, g, b};
                for (int i = 0; i < 3; ++i) {
                    lo[i] = std::min(lo[i], v[i]);
                    hi[i] = std::max(hi[i], v[i]);
                }
            }
    if (box.count)
        for (int i = 0; i < 3; ++i) {
            box.lo[i] = lo[i];
            box.hi[i] = hi[i];
        }
}

// Splits `box` at the count median of its longest side; false when it is one cell.
bool split(Box& box, Box& upper, const Histogram& h)
{
    int axis = 0;
    for (int i = 1; i < 3; ++i)
        if (box.hi[i] - box.lo[i] > box.hi[axis] - box.lo[axis])
            axis = i;
    if (box.hi[axis] == box.lo[axis])
        return false;
    std::vector<std::uint64_t> slice(kBins, 0);
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const int v[3] = {r, g, b};
                slice[v[axis]] += h.count[Histogram::index(r, g, b)];
            }
    std::uint64_t acc = 0;
    int cut = box.lo[axis];
    for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
        acc += slice[v];
        cut = v;
        if (acc * 2 >= box.count)
            break;
    }
    upper = box;
    box.hi[axis] = cut;
    upper.lo[axis] = cut + 1;
    shrink(box, h);
    shrink(upper, h);
    return true;
}

Bgr boxColour(const Box& box, const Histogram& h)
{
    std::uint64_t s[3] = {0, 0, 0}, n = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const int i = Histogram::index(r, g, b);
                n += h.count[i];
                for (int c = 0; c < 3; ++c)
                    s[c] += h.sum[i][c];
            }
    if (!n)
        return {};
    return {std::uint8_t((s[2] + n / 2) / n), std::uint8_t((s[1] + n / 2) / n),
            std::uint8_t((s[0] + n / 2) / n)};
}

// Nearest palette entries, remembered per cell of a 6-bit-per-channel grid;
// colours that are palette entries themselves always map to that entry.
class NearestColour {
public:
    explicit NearestColour(const std::vector<Bgr>& palette)
        : m_palette(palette), m_cache(1 << 18, -1), m_hasExact(1 << 18, false)
    {
        for (std::size_t i = 0; i < palette.size(); ++i) {
            m_exact.emplace(key(palette[i]), static_cast<int>(i));
            m_hasExact[cell(palette[i].r, palette[i].g, palette[i].b)] = true;
        }
    }

    int operator()(int r, int g, int b)
    {
        const int c = cell(r, g, b);
        if (m_hasExact[c]) {
            const auto it = m_exact.find(key({std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)}));
            if (it != m_exact.end())
                return it->second;
        }
        if (m_cache[c] < 0)
            m_cache[c] = static_cast<std::int16_t>(search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2));
        return m_cache[c];
    }

private:
    static int cell(int r, int g, int b) { return ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2); }

    int search(int r, int g, int b) const
    {
        int best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < m_palette.size(); ++i) {
            const Bgr& p = m_palette[i];
            const int dr = r - p.r, dg = g - p.g, db = b - p.b;
            const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    const std::vector<Bgr>& m_palette;
    std::vector<std::int16_t> m_cache;
    std::vector<bool> m_hasExact;
    std::unordered_map<std::uint32_t, int> m_exact;
};

}  // namespace

std::vector<Bgr> adaptivePalette(const DibHandle& picture, int colours)
{
    const int w = picture.width(), h = picture.height();
    std::unordered_set<std::uint32_t> distinct;
    for (int y = 0; y < h && distinct.size() <= std::size_t(colours); ++y) {
        const std::uint8_t* row = picture.row(y);
        for (int x = 0; x < w && distinct.size() <= std::size_t(colours); ++x)
            distinct.insert(key({row[3 * x], row[3 * x + 1], row[3 * x + 2]}));
    }
    if (distinct.size() <= std::size_t(colours)) {
        std::vector<Bgr> exact;
        for (std::uint32_t k : distinct)
            exact.push_back({std::uint8_t(k), std::uint8_t(k >> 8), std::uint8_t(k >> 16)});
        std::sort(exact.begin(), exact.end(), [](Bgr a, Bgr b) { return key(a) < key(b); });
        return exact;
    }

    Histogram hist;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = picture.row(y);
        for (int x = 0; x < w; ++x) {
            const int b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
            const int i = Histogram::index(r >> 3, g >> 3, b >> 3);
            ++hist.count[i];
            hist.sum[i][0] += r;
            hist.sum[i][1] += g;
            hist.sum[i][2] += b;
            hist.hasWhite |= (r & g & b) == 255;
            hist.hasBlack |= (r | g | b) == 0;
        }
    }
    const int reserved = int(hist.hasWhite) + int(hist.hasBlack);
    std::vector<Box> boxes{Box{{0, 0, 0}, {kBins - 1, kBins - 1, kBins - 1}}};
    shrink(boxes[0], hist);
    while (static_cast<int>(boxes.size()) < colours - reserved) {
        // Split the most populous box that can still be split.
        std::vector<std::size_t> order(boxes.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return boxes[a].count > boxes[b].count; });
        bool done = false;
        for (std::size_t i : order) {
            Box upper;
            if (split(boxes[i], upper, hist)) {
                boxes.push_back(upper);
                done = true;
                break;
            }
        }
        if (!done)
            break;
    }
    std::vector<Bgr> palette;
    for (const Box& box : boxes)
        palette.push_back(boxColour(box, hist));
    if (hist.hasWhite)
        palette.push_back({255, 255, 255});
    if (hist.hasBlack)
        palette.push_back({0, 0, 0});
    return palette;
}

std::vector<Bgr> fixedPalette(int colours)
{
    if (colours <= 2)
        return {{0, 0, 0}, {255, 255, 255}};
    if (colours <= 16) {
        static const std::uint8_t vga[16][3] = {
            {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
            {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
            {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        std::vector<Bgr> p;
        for (const auto& c : vga)
            p.push_back({c[2], c[1], c[0]});
        return p;
    }
    std::vector<Bgr> p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.push_back({std::uint8_t(b * 51), std::uint8_t(g * 51), std::uint8_t(r * 51)});
    for (int i = 1; i <= 40; ++i) {  // greys between the cube's own six
        const std::uint8_t v = std::uint8_t(i * 255 / 41);
        p.push_back({v, v, v});
    }
    return p;
}

namespace {

// Black and white (the fax files' reduction) in one pass that gives exactly
// the bits of the general loop below: the same error diffusion, and the same
// choice, which for these two entries is a weighted sum of the grid cell's
// centre ((v & ~3) + 2) against the midpoint of the weighted distances.
template <bool dither>
bool mapToBlackWhite(const DibHandle& picture, DibHandle& out, Progress* progress)
{
    const int w = picture.width(), h = picture.height();
    const auto white = [](int r, int g, int b) {
        return 3 * ((r & ~3) + 2) + 4 * ((g & ~3) + 2) + 2 * ((b & ~3) + 2) > (3 + 4 + 2) * 255 / 2;
    };
    // Error rows as in the general loop (index x + 1 is column x), but the
    // error carried to the right and the next row's last two sums are kept
    // in registers: the next pixel's choice waits on no memory. The carry
    // to the right is worked out for both choices while the choice is made,
    // and picked without a branch, since dithered pixels follow no pattern a
    // branch predictor could learn; eight choices make a byte.
    std::vector<int> current((w + 2) * 3), next(current.size());
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = picture.row(y);
        std::uint8_t* dst = out.row(y);
        int carry[3] = {current[3] / 16, current[4] / 16, current[5] / 16};  // already divided
        int a[3] = {0, 0, 0};  // next row, index x: from the pixels x - 1 and x - 2
        int b[3] = {0, 0, 0};  // next row, index x + 1: from the pixel x - 1
        unsigned byte = 0;
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* px = src + 3 * x;
            int v[3] = {px[2], px[1], px[0]};  // r, g, b
            if constexpr (dither)
                for (int c = 0; c < 3; ++c)
                    v[c] = std::clamp(v[c] + carry[c], 0, 255);
            const bool index = white(v[0], v[1], v[2]);
            byte = byte << 1 | unsigned(index);
            if ((x & 7) == 7)
                dst[x >> 3] = std::uint8_t(byte);
            if constexpr (dither) {
                const int* ahead = &current[(x + 2) * 3];
                int* below = &next[x * 3];
                const int whiteMask = -int(index);  // all bits set for white
                for (int c = 0; c < 3; ++c) {
                    const int towardsBlack = (ahead[c] + v[c] * 7) / 16;
                    const int towardsWhite = (ahead[c] + (v[c] - 255) * 7) / 16;
                    carry[c] = towardsBlack + (whiteMask & (towardsWhite - towardsBlack));
                    const int e = v[c] - (whiteMask & 255);
                    below[c] = a[c] + e * 3;
                    a[c] = b[c] + e * 5;
                    b[c] = e;
                }
            }
        }
        if (const int spare = w & 7)
            dst[w >> 3] = std::uint8_t(byte << (8 - spare));
        if constexpr (dither) {
            for (int c = 0; c < 3; ++c) {
                next[w * 3 + c] = a[c];
                next[(w + 1) * 3 + c] = b[c];
            }
            std::swap(current, next);
        }
        if ((y & 63) == 0 && !reportProgress(progress, y, h))
            return false;
    }
    return true;
}

}  // namespace

DibHandle mapToPalette(const DibHandle& picture, const std::vector<Bgr>& palette, int bitCount, bool dither,
                       Progress* progress)
{
    const int w = picture.width(), h = picture.height();
    DibHandle out = DibHandle::create(w, h, bitCount);
    if (!out)
        return {};
    for (std::size_t i = 0; i < palette.size() && i < (std::size_t{1} << bitCount); ++i)
        out.palette()[i] = {palette[i].b, palette[i].g, palette[i].r, 0};
    if (bitCount == 1 && palette == std::vector<Bgr>{{0, 0, 0}, {255, 255, 255}})
        return (dither ? mapToBlackWhite<true>(picture, out, progress)
                       : mapToBlackWhite<false>(picture, out, progress))
                   ? std::move(out)
                   : DibHandle{};
    NearestColour nearest(palette);
    // Error rows for Floyd-Steinberg, one pixel of margin on each side.
    std::vector<int> current(dither ? (w + 2) * 3 : 0), next(current.size());
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = picture.row(y);
        std::uint8_t* dst = out.row(y);
        for (int x = 0; x < w; ++x) {
            int v[3] = {src[3 * x + 2], src[3 * x + 1], src[3 * x]};  // r, g, b
            if (dither)
                for (int c = 0; c < 3; ++c)
                    v[c] = std::clamp(v[c] + current[(x + 1) * 3 + c] / 16, 0, 255);
            const int index = nearest(v[0], v[1], v[2]);
            writeRaw(dst, x, bitCount, static_cast<std::uint32_t>(index));
            if (!dither)
                continue;
            const Bgr& p = palette[index];
            const int e[3] = {v[0] - p.r, v[1] - p.g, v[2] - p.b};
            for (int c = 0; c < 3; ++c) {
                current[(x + 2) * 3 + c] += e[c] * 7;
                next[x * 3 + c] += e[c] * 3;
                next[(x + 1) * 3 + c] += e[c] * 5;
                next[(x + 2) * 3 + c] += e[c];
            }
        }
        if (dither) {
            std::swap(current, next);
            std::fill(next.begin(), next.end(), 0);
        }
        if ((y & 63) == 0 && !reportProgress(progress, y, h))
            return {};
    }
    return out;
}

}  // namespace imgkit
