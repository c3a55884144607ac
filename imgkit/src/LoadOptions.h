// The process-wide load options of ImgKitSetLoadOptions, for the readers.
#pragma once

namespace imgkit {

void setLoadOptions(bool upright, bool colourProfiles);
bool uprightOnLoad();
bool colourProfilesOnLoad();

}  // namespace imgkit
