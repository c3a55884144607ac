// Small pictures for the loading, bitmap and adjustment tests.
#pragma once

#include "imgkit/DibHandle.h"

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <cstring>

namespace testpic {

// A 24-bit picture of one colour.
inline imgkit::DibHandle solid(int width, int height, imgkit::Bgr c)
{
    imgkit::DibHandle dib = imgkit::DibHandle::create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::memcpy(dib.row(y) + x * 3, &c, 3);
    return dib;
}

// A 256-colour picture of one colour (palette entry 0).
inline imgkit::DibHandle solid8(int width, int height, imgkit::Bgr c)
{
    imgkit::DibHandle dib = imgkit::DibHandle::create(width, height, 8);
    dib.palette()[0] = {c.b, c.g, c.r, 0};
    return dib;
}

inline imgkit::Bgr pixel(const imgkit::DibHandle& dib, int x, int y)
{
    imgkit::Bgr c;
    std::memcpy(&c, dib.row(y) + x * 3, 3);
    return c;
}

inline QRgb rgb(imgkit::Bgr c) { return qRgb(c.r, c.g, c.b); }

inline constexpr imgkit::Bgr kRed{0, 0, 255};
inline constexpr imgkit::Bgr kBlue{255, 0, 0};
inline constexpr imgkit::Bgr kWhite{255, 255, 255};
inline constexpr imgkit::Bgr kBlack{0, 0, 0};

// Runs exiftool, as a camera or phone would tag a picture, with numeric
// values ("-n") and bare output; gives what it printed, trimmed.
inline QString exiftool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("exiftool"),
            QStringList{"-q", "-n", "-s", "-s", "-s", "-overwrite_original"} + args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

}  // namespace testpic
