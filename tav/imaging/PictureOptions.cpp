#include "tav/imaging/PictureOptions.h"

#include "imgkit/ImgKit.h"
#include "tav/core/AppSettings.h"

namespace {
bool g_exifShootingDate = true;
}

void ApplyPictureOptions(const AppSettings& settings)
{
    ImgKitSetLoadOptions({settings.uprightPictures, settings.colourProfiles});
    g_exifShootingDate = settings.exifShootingDate;
}

bool ExifShootingDateOn() { return g_exifShootingDate; }
