// The show step of a picture: the picture window TfrPic captioned with the
// picture's path, size and colours, sized to the picture (a larger one is
// fitted to the screen and can be zoomed), drawn, and shown modal.
#pragma once

#include "imgkit/DibHandle.h"

#include <QString>

class QWidget;

// The caption: the full path followed by "(w*h,2色)", "(w*h,16色)",
// "(w*h,256色)" or "(w*h,ﾌﾙｶﾗｰ)" by the picture's colour code.
QString pictureCaption(const QString& path, const imgkit::DibHandle& dib);

// Shows `dib` modally over `owner`, centred on the screen.
void showPicture(QWidget* owner, const QString& path, const imgkit::DibHandle& dib);
