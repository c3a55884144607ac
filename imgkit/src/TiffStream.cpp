#include "imgkit/src/TiffStream.h"

#include <algorithm>
#include <cstring>

namespace imgkit {
namespace {

constexpr tmsize_t kMaxSingleAllocation = tmsize_t{512} << 20;

TiffMemory& mem(thandle_t h) { return *static_cast<TiffMemory*>(h); }

tmsize_t readProc(thandle_t h, void* buffer, tmsize_t n)
{
    TiffMemory& m = mem(h);
    if (!m.readData && !m.writeData)
        return 0;
    const std::uint8_t* base = m.readData ? m.readData : m.writeData->data();
    const std::size_t available = m.pos < m.size ? m.size - m.pos : 0;
    const std::size_t count = std::min<std::size_t>(available, static_cast<std::size_t>(n));
    if (count > 0)
        std::memcpy(buffer, base + m.pos, count);
    m.pos += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t writeProc(thandle_t h, void* buffer, tmsize_t n)
{
    TiffMemory& m = mem(h);
    if (!m.writeData || n < 0)
        return -1;
    const std::size_t end = m.pos + static_cast<std::size_t>(n);
    if (end > m.writeData->size())
        m.writeData->resize(end);
    std::memcpy(m.writeData->data() + m.pos, buffer, static_cast<std::size_t>(n));
    m.pos = end;
    m.size = std::max(m.size, end);
    return n;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    TiffMemory& m = mem(h);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR)
        base = m.pos;
    else if (whence == SEEK_END)
        base = m.size;
    const std::uint64_t target = base + offset;
    if (target > (std::uint64_t{1} << 40))
        return static_cast<toff_t>(-1);
    m.pos = static_cast<std::size_t>(target);
    return target;
}

int closeProc(thandle_t) { return 0; }

toff_t sizeProc(thandle_t h) { return mem(h).size; }

// Reading maps the memory itself: libtiff then reads every strip and tile in
// place (its own buffered reads refuse uncompressed tiles smaller than its
// minimum read size).
int mapProc(thandle_t h, void** base, toff_t* size)
{
    TiffMemory& m = mem(h);
    if (!m.readData)
        return 0;
    *base = const_cast<std::uint8_t*>(m.readData);
    *size = m.size;
    return 1;
}

void unmapProc(thandle_t, void*, toff_t) {}

int quiet(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;  // handled: print nothing
}

TIFF* open(TiffMemory& memory, const char* mode)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, quiet, nullptr);
    TIFF* tif = TIFFClientOpenExt("memory", mode, &memory, readProc, writeProc, seekProc, closeProc, sizeProc,
                                  mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
    return tif;
}

}  // namespace

TIFF* openTiffReader(TiffMemory& memory) { return open(memory, "r"); }

TIFF* openTiffWriter(TiffMemory& memory) { return open(memory, "w"); }

}  // namespace imgkit
