#include "imgkit/src/ColourProfile.h"

#include <lcms2.h>

#include <cstring>

namespace imgkit {
namespace {

// The standard CMYK profile when a CMYK picture brings none: the SWOP
// profile that the system's PostScript interpreter installs.
constexpr const char* kStandardCmykProfiles[] = {
    "/usr/share/color/icc/ghostscript/default_cmyk.icc",
    "/usr/share/color/icc/ghostscript/ps_cmyk.icc",
};

struct ProfileCloser {
    cmsHPROFILE profile;
    ~ProfileCloser()
    {
        if (profile)
            cmsCloseProfile(profile);
    }
};

bool isSrgb(cmsHPROFILE profile)
{
    char description[256] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", description, sizeof description);
    return std::strncmp(description, "sRGB", 4) == 0;
}

cmsHPROFILE standardCmykProfile()
{
    for (const char* path : kStandardCmykProfiles)
        if (cmsHPROFILE p = cmsOpenProfileFromFile(path, "r")) {
            if (cmsGetColorSpace(p) == cmsSigCmykData)
                return p;
            cmsCloseProfile(p);
        }
    return nullptr;
}

// Only a transform over whole-byte sRGB rows is made; errors stay quiet.
void quietLcms(cmsContext, cmsUInt32Number, const char*) {}

// Relative colorimetric: the paper's white becomes white and colours inside
// sRGB keep their values, as other viewers convert. `flags` may ask Little
// CMS not to replace the conversion by its coarse 8-bit table, which puts
// saturated CMYK colours up to 16 levels off.
cmsHTRANSFORM toSrgbTransform(cmsHPROFILE source, cmsUInt32Number inputFormat, cmsUInt32Number flags = 0)
{
    cmsSetLogErrorHandler(quietLcms);
    const ProfileCloser srgb{cmsCreate_sRGBProfile()};
    return cmsCreateTransform(source, inputFormat, srgb.profile, TYPE_BGR_8, INTENT_RELATIVE_COLORIMETRIC,
                              flags);
}

}  // namespace

bool convertToSrgb(DibHandle& dib, const std::uint8_t* icc, std::size_t size)
{
    if (!icc || size == 0 || dib.bitCount() != 24)
        return false;
    cmsSetLogErrorHandler(quietLcms);
    const ProfileCloser source{cmsOpenProfileFromMem(icc, cmsUInt32Number(size))};
    if (!source.profile || cmsGetColorSpace(source.profile) != cmsSigRgbData || isSrgb(source.profile))
        return false;
    cmsHTRANSFORM transform = toSrgbTransform(source.profile, TYPE_BGR_8);
    if (!transform)
        return false;
    for (int y = 0; y < dib.height(); ++y)
        cmsDoTransform(transform, dib.row(y), dib.row(y), cmsUInt32Number(dib.width()));
    cmsDeleteTransform(transform);
    return true;
}

CmykConverter::CmykConverter(const std::uint8_t* icc, std::size_t size, bool inverted, bool manageColour)
    : m_inverted(inverted)
{
    if (!manageColour)
        return;
    cmsSetLogErrorHandler(quietLcms);
    cmsHPROFILE own = icc && size > 0 ? cmsOpenProfileFromMem(icc, cmsUInt32Number(size)) : nullptr;
    if (own && cmsGetColorSpace(own) != cmsSigCmykData) {
        cmsCloseProfile(own);
        own = nullptr;
    }
    const ProfileCloser source{own ? own : standardCmykProfile()};
    if (source.profile)
        m_transform =
            toSrgbTransform(source.profile, inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, cmsFLAGS_NOOPTIMIZE);
}

CmykConverter::~CmykConverter()
{
    if (m_transform)
        cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_transform));
}

void CmykConverter::convert(const std::uint8_t* cmyk, std::uint8_t* bgr, int width) const
{
    if (m_transform) {
        cmsDoTransform(static_cast<cmsHTRANSFORM>(m_transform), cmyk, bgr, cmsUInt32Number(width));
        return;
    }
    for (int x = 0; x < width; ++x) {
        int c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!m_inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[3 * x] = std::uint8_t(y * k / 255);
        bgr[3 * x + 1] = std::uint8_t(m * k / 255);
        bgr[3 * x + 2] = std::uint8_t(c * k / 255);
    }
}

}  // namespace imgkit
