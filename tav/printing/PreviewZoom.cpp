#include "tav/printing/PreviewZoom.h"

#include <algorithm>
#include <cmath>

namespace {

// Far below a pixel or a percent, far above the error of a few additions of 0.25.
constexpr double kTolerance = 1e-9;

int truncated(double value) { return static_cast<int>(std::floor(value + kTolerance)); }

}  // namespace

double EnlargedPreviewZoom(double zoom) { return std::min(zoom + kPreviewZoomStep, kPreviewZoomMax); }

double ReducedPreviewZoom(double zoom) { return std::max(zoom - kPreviewZoomStep, kPreviewZoomMin); }

double FitPreviewZoom(const QSize& page, const QSize& room)
{
    if (page.isEmpty())
        return 1.0;
    const double fit = std::min(double(room.width()) / page.width(), double(room.height()) / page.height());
    return std::clamp(fit, kPreviewZoomMin, kPreviewZoomMax);
}

double UsablePreviewZoom(double zoom)
{
    if (!std::isfinite(zoom))
        return 1.0;
    return std::clamp(zoom, kPreviewZoomMin, kPreviewZoomMax);
}

int PreviewZoomPercent(double zoom) { return truncated(zoom * 100.0); }

QString PreviewCaption(double zoom)
{
    return QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ (%1%)").arg(PreviewZoomPercent(zoom));
}

QSize ZoomedPageSize(const QSize& page, double zoom)
{
    return QSize(std::max(1, truncated(page.width() * zoom)), std::max(1, truncated(page.height() * zoom)));
}
