#include "imgkit/tests/TestPictures.h"

#include "imgkit/src/PixelAccess.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>

namespace imgkit::test {

DibHandle photo24(int width, int height)
{
    DibHandle dib = DibHandle::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = std::uint8_t(x * 255 / std::max(1, width - 1));
            row[3 * x + 1] = std::uint8_t(y * 255 / std::max(1, height - 1));
            row[3 * x + 2] = std::uint8_t(((x + y) * 3 / 2) % 256);
        }
    }
    return dib;
}

DibHandle indexed(int width, int height, int bits)
{
    DibHandle dib = DibHandle::create(width, height, bits);
    const int n = 1 << bits;
    for (int i = 0; i < n; ++i)
        dib.palette()[i] = {std::uint8_t(i * 37 % 256), std::uint8_t(255 - i), std::uint8_t(i * 91 % 256), 0};
    if (bits == 1)
        dib.palette()[0] = {0, 0, 0, 0}, dib.palette()[1] = {255, 255, 255, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int v = (x + 3 * y) % n;
            std::uint8_t* row = dib.row(y);
            switch (bits) {
            case 1:
                if (v)
                    row[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
                break;
            case 4: row[x >> 1] |= std::uint8_t((x & 1) ? v : v << 4); break;
            default: row[x] = std::uint8_t(v);
            }
        }
    return dib;
}

std::vector<std::uint8_t> bgrPixels(const DibHandle& dib)
{
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(dib.width()) * 3);
    for (int y = 0; y < dib.height(); ++y) {
        readRowBgr(dib, y, line.data());
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

double meanError(const DibHandle& a, const DibHandle& b)
{
    const std::vector<std::uint8_t> pa = bgrPixels(a), pb = bgrPixels(b);
    if (pa.size() != pb.size() || pa.empty())
        return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < pa.size(); ++i)
        sum += std::abs(int(pa[i]) - int(pb[i]));
    return sum / double(pa.size());
}

QString tempPath(const QString& name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

std::vector<std::uint8_t> readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    return {all.begin(), all.end()};
}

void writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

std::string run(const std::string& command, int* status)
{
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        if (status)
            *status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        out.append(buffer, n);
    const int rc = pclose(p);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

namespace {

// A binary PPM of 8-bit samples printed by a tool, as a 24-bit picture.
DibHandle fromPpm(const std::string& ppm, int status)
{
    int w = 0, h = 0, max = 0, consumed = 0;
    if (status != 0 || std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &max, &consumed) != 3 || max != 255)
        return {};
    const std::size_t start = static_cast<std::size_t>(consumed) + 1;
    if (ppm.size() < start + std::size_t(w) * h * 3)
        return {};
    DibHandle dib = DibHandle::create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p =
                reinterpret_cast<const unsigned char*>(ppm.data()) + start + (std::size_t(y) * w + x) * 3;
            std::uint8_t* q = dib.row(y) + 3 * x;
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    return dib;
}

}  // namespace

DibHandle decodeWithGm(const QString& path)
{
    int status = 0;
    const std::string ppm =
        run("gm convert '" + path.toStdString() + "' -background white -flatten -depth 8 ppm:- 2>/dev/null",
            &status);
    return fromPpm(ppm, status);
}

DibHandle decodeWithIm(const QString& path, const std::string& options)
{
    int status = 0;
    // +repage: a turned picture keeps its old canvas, which flattening would apply.
    const std::string ppm = run("convert '" + path.toStdString() + "' " + options +
                                    " +repage -background white -flatten -depth 8 ppm:- 2>/dev/null",
                                &status);
    return fromPpm(ppm, status);
}

}  // namespace imgkit::test
