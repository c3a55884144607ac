// The print preview's zoom: the steps the window's "表示(&V)" menu takes, the
// caption that shows the zoom, and the size of a page drawn at a zoom.
#pragma once

#include <QSize>
#include <QString>

inline constexpr double kPreviewZoomStep = 0.25;
inline constexpr double kPreviewZoomMin = 0.25;
inline constexpr double kPreviewZoomMax = 2.0;

// "拡大(&K)": one step larger, at most 2.0.
double EnlargedPreviewZoom(double zoom);
// "縮小(&S)": one step smaller; a result below 0.25 becomes 0.25.
double ReducedPreviewZoom(double zoom);

// "ﾍﾟｰｼﾞ全体(&W)": the largest zoom, within 0.25 ... 2.0, at which a page
// of `page` pixels at 100 % fits `room`.
double FitPreviewZoom(const QSize& page, const QSize& room);

// A zoom the window can show: a value from a hand-edited settings file outside
// 0.25 ... 2.0 is brought to the nearer end (a huge one would ask for a page
// bitmap of gigabytes); one that is not a number becomes 1.0.
double UsablePreviewZoom(double zoom);

// trunc(zoom x 100). A zoom read back as percent / 100 (0.29) is a hair below
// its percent in binary; the tolerance keeps it at 29 instead of 28.
int PreviewZoomPercent(double zoom);

// "印刷ﾌﾟﾚﾋﾞｭｰ (N%)".
QString PreviewCaption(double zoom);

// trunc(width x zoom) x trunc(height x zoom), never less than 1 x 1.
QSize ZoomedPageSize(const QSize& page, double zoom);
