// PcGetImageMem, PcGetPx and PcSetPx.
#include "pelcalc/src/Dib.h"

#include "pelcalc/include/Pelcalc.h"

namespace {

// The three bytes of pixel (x, y), y = 0 being the top row (stored last);
// null when the picture is unusable or (x, y) lies outside it.
std::uint8_t* pixelAt(const void* image, int x, int y)
{
    pelcalc::Picture picture;
    if (pelcalc::checkPicture(image, picture) != pelcalc::PictureCheck::Ok)
        return nullptr;
    if (x < 0 || x >= picture.width || y < 0 || y >= picture.height)
        return nullptr;
    return picture.row(picture.height - 1 - y) + 3 * static_cast<std::size_t>(x);
}

}  // namespace

extern "C" PELCALC_API void* PcGetImageMem(int width, int height)
{
    return pelcalc::newPicture(width, height);
}

extern "C" PELCALC_API int PcGetPx(const void* image, int x, int y, unsigned char* blue, unsigned char* green,
                                   unsigned char* red)
{
    const std::uint8_t* p = pixelAt(image, x, y);
    if (p == nullptr || blue == nullptr || green == nullptr || red == nullptr)
        return 1;
    *blue = p[0];
    *green = p[1];
    *red = p[2];
    return 0;
}

extern "C" PELCALC_API int PcSetPx(void* image, int x, int y, unsigned char blue, unsigned char green,
                                   unsigned char red)
{
    std::uint8_t* p = pixelAt(image, x, y);
    if (p == nullptr)
        return 1;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
    return 0;
}
