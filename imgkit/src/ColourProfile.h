// Colour management through Little CMS: pictures carrying an ICC profile are
// converted to sRGB on loading, CMYK through the picture's own profile or
// the system's standard CMYK profile.
#pragma once

#include "imgkit/DibHandle.h"

#include <cstddef>
#include <cstdint>

namespace imgkit {

// Converts a 24-bit picture in place from the colour space of the RGB
// profile `icc` to sRGB. Pictures whose profile is sRGB itself, is no RGB
// profile or cannot be read stay as they are (false).
bool convertToSrgb(DibHandle& dib, const std::uint8_t* icc, std::size_t size);

// Turns rows of CMYK samples into blue-green-red sRGB rows.
class CmykConverter {
public:
    // `icc` (may be empty): the picture's own CMYK profile; without one, or
    // when it is unusable, the system's standard CMYK profile, and without
    // that the plain complement formula. `inverted`: 0 means full ink, as
    // Adobe applications store CMYK JPEGs.
    CmykConverter(const std::uint8_t* icc, std::size_t size, bool inverted, bool manageColour);
    ~CmykConverter();
    CmykConverter(const CmykConverter&) = delete;
    CmykConverter& operator=(const CmykConverter&) = delete;

    void convert(const std::uint8_t* cmyk, std::uint8_t* bgr, int width) const;

private:
    void* m_transform = nullptr;
    bool m_inverted;
};

}  // namespace imgkit
