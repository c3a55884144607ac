#include "tav/printing/PrintLoader.h"

#include "tav/core/AppSettings.h"
#include "tav/printing/PrintSelection.h"

PrintLoader::PrintLoader(PrintHost& host) : m_host(host), m_adjustment(ReadPrintAdjustment(host.controls())) {}

std::optional<PrintPicture> PrintLoader::load(const QString& path, const LoadNeed& need) const
{
    PrintPicture picture;
    if (!LoadForPrint(path, m_adjustment, m_host.settings().gvPath, picture.dib, picture.width, picture.height,
                      need))
        return std::nullopt;
    return picture;
}
