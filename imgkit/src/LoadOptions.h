// The process-wide load options of ImgKitSetLoadOptions, for the readers.
#pragma once

namespace imgkit {

bool uprightOnLoad();
bool colourProfilesOnLoad();

}  // namespace imgkit
