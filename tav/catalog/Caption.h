// The caption under a picture: its name, size and colour depth, shooting date
// and title, as the print layouts, the thumbnail sheets and the HTML album
// write it.
#pragma once

#include <QString>
#include <cstdint>

class ControlSurface;
struct ImageInfo;

namespace imgkit {
class DibHandle;
}

// The caption switches. There is one set; each command fills it from its own
// tab's check boxes just before it builds captions.
struct CaptionOptions {
    int nameMode = 0;  // 0 no name, 1 file name with extension, 2 without extension
    std::uint8_t showImageInfo = 0;  // 1: "(640X480,24bitｶﾗｰ)"
    std::uint8_t showDate = 0;  // 1: " yyyy/m/d" from the comment file
    std::uint8_t showTitle = 0;  // 1: " title" from the comment file
};

// The set in force.
CaptionOptions& captionOptions();

// The caption check boxes of one tab, by control name.
struct CaptionBoxes {
    const char* fileName;
    const char* noExtension;  // effective only with the file name
    const char* imageInfo;
    const char* shootingDate;
    const char* title;
};

// Puts the tab's caption choices in force for the captions of this run.
void SetCaptionOptionsFrom(const ControlSurface& controls, const CaptionBoxes& boxes);

// The caption of the picture at `path` (empty: none) under the options in
// force. `picture` (may be null) gives the size and colours. HTML mode
// (htmlMode 1) starts each part after the first on a new line with "<br>"
// and escapes the texts for the page; print mode (0) writes one line.
QString BuildCaption(std::uint8_t htmlMode, const imgkit::DibHandle* picture, const QString& path);
// The same under the given options.
QString BuildCaption(const CaptionOptions& options, std::uint8_t htmlMode, const imgkit::DibHandle* picture,
                     const QString& path);
// The same with the size and colours given (null: none), for a picture
// loaded smaller than it is.
QString BuildCaptionOfSize(std::uint8_t htmlMode, const ImageInfo* picture, const QString& path);
QString BuildCaptionOfSize(const CaptionOptions& options, std::uint8_t htmlMode, const ImageInfo* picture,
                           const QString& path);
