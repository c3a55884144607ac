// ImgKitBmpFileSave: a 14-byte file header and the packed DIB, with the
// 16- and 256-colour rows optionally run-length coded (RLE4, RLE8).
#include "imgkit/ImgKit.h"

#include "imgkit/src/ByteReader.h"
#include "imgkit/src/FileBytes.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"

#include <cstring>
#include <vector>

namespace imgkit {
namespace {

// One row as RLE: runs of equal pixels become (count, value), stretches of
// differing pixels absolute runs of at least three, each row ends with 0 0.
void encodeRow(const std::uint8_t* row, int width, int bits, std::vector<std::uint8_t>& out)
{
    auto pixel = [&](int x) { return readRaw(row, x, bits); };
    // RLE4 runs alternate two values; equal-pixel runs are the useful case.
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && pixel(x + run) == pixel(x))
            ++run;
        if (run >= 3 || width - x < 3) {
            const std::uint32_t v = pixel(x);
            out.push_back(std::uint8_t(run));
            out.push_back(std::uint8_t(bits == 8 ? v : (v << 4) | v));
            x += run;
            continue;
        }
        // Absolute run: gather pixels until a run of three equal ones starts.
        int count = 0;
        while (x + count < width && count < 255) {
            const int at = x + count;
            if (at + 2 < width && pixel(at) == pixel(at + 1) && pixel(at) == pixel(at + 2))
                break;
            ++count;
        }
        if (count < 3) {  // too short for an absolute run: emit single runs
            for (int i = 0; i < count; ++i) {
                const std::uint32_t v = pixel(x + i);
                out.push_back(1);
                out.push_back(std::uint8_t(bits == 8 ? v : v << 4));
            }
            x += count;
            continue;
        }
        out.push_back(0);
        out.push_back(std::uint8_t(count));
        std::size_t bytes = 0;
        for (int i = 0; i < count; ++i) {
            const std::uint32_t v = pixel(x + i);
            if (bits == 8) {
                out.push_back(std::uint8_t(v));
                ++bytes;
            } else if (i % 2 == 0) {
                out.push_back(std::uint8_t(v << 4));
                ++bytes;
            } else {
                out.back() |= std::uint8_t(v);
            }
        }
        if (bytes % 2)
            out.push_back(0);  // absolute runs are padded to 16 bits
        x += count;
    }
    out.push_back(0);
    out.push_back(0);
}

}  // namespace
}  // namespace imgkit

using imgkit::DibHandle;

int ImgKitBmpFileSave(const QString& file, const DibHandle& dib, const QString& caption,
                      const QString& message, int rle)
{
    if (!dib.isUsable())
        return 0;
    imgkit::Progress progress(caption, message);
    const int bits = dib.bitCount();
    const bool compress = rle == 1 && (bits == 4 || bits == 8);
    const std::size_t tableBytes = static_cast<std::size_t>(dib.paletteSize()) * 4;
    std::vector<std::uint8_t> body;
    if (compress) {
        // Rows are stored bottom-up, as in memory.
        for (int y = dib.height() - 1; y >= 0; --y) {
            imgkit::encodeRow(dib.row(y), dib.width(), bits, body);
            if ((y & 255) == 0)
                progress.update(dib.height() - y, dib.height());
        }
        body.back() = 1;  // the last end-of-line becomes end-of-bitmap
    } else {
        const std::size_t imageBytes = dib.stride() * static_cast<std::size_t>(dib.height());
        body.assign(dib.bits(), dib.bits() + imageBytes);
        // The fourth byte of plain 32-bit pixels is unused, but some readers
        // take it for opacity: write it opaque.
        if (bits == 32 && dib.header().compression == imgkit::BI_RGB)
            for (std::size_t i = 3; i < body.size(); i += 4)
                body[i] = 255;
    }
    const std::size_t offBits = 14 + 40 + tableBytes;
    std::vector<std::uint8_t> out(offBits);
    out[0] = 'B';
    out[1] = 'M';
    imgkit::putLe32(&out[2], static_cast<std::uint32_t>(offBits + body.size()));
    imgkit::putLe32(&out[10], static_cast<std::uint32_t>(offBits));
    imgkit::BitmapInfoHeader header = dib.header();
    header.compression = compress ? (bits == 8 ? imgkit::BI_RLE8 : imgkit::BI_RLE4) : header.compression;
    header.sizeImage = static_cast<std::uint32_t>(body.size());
    const bool shortTable = bits <= 8 && dib.paletteSize() < (1 << bits);
    header.clrUsed = shortTable ? static_cast<std::uint32_t>(dib.paletteSize()) : 0;
    header.clrImportant = 0;
    std::memcpy(&out[14], &header, 40);
    std::memcpy(&out[54], dib.palette(), tableBytes);
    out.insert(out.end(), body.begin(), body.end());
    return imgkit::writeFileBytes(file, out.data(), out.size()) ? 1 : 0;
}
