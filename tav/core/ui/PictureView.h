// Shows one picture at its natural size in a window of its own, captioned with
// its path, size and colours; larger pictures scroll.
#pragma once

#include "DibHandle.h"

#include <QString>

class QWidget;

// The caption: the full path followed by "(w*h,2色)", "(w*h,16色)",
// "(w*h,256色)" or "(w*h,ﾌﾙｶﾗｰ)" by the picture's colour code.
QString pictureCaption(const QString& path, const imgkit::DibHandle& dib);

// Shows `dib` modally over `owner`.
void showPicture(QWidget* owner, const QString& path, const imgkit::DibHandle& dib);
