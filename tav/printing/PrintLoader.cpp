#include "tav/printing/PrintLoader.h"

#include "tav/core/AppSettings.h"
#include "tav/imaging/PictureQueue.h"
#include "tav/printing/PrintSelection.h"

PrintLoader::PrintLoader(PrintHost& host, const QStringList& order)
    : m_host(host), m_adjustment(ReadPrintAdjustment(host.controls())), m_order(order)
{}

PrintLoader::~PrintLoader() = default;

std::optional<PrintPicture> PrintLoader::load(const QString& path, const LoadNeed& need)
{
    if (!m_order.isEmpty() && (!m_ahead || !(m_ahead->need() == need)))
        m_ahead =
            std::make_unique<PictureQueue>(m_order.mid(std::max<qsizetype>(m_order.indexOf(path), 0)), need);
    PrintPicture picture;
    if (!LoadForPrint(path, m_adjustment, m_host.settings().gvPath, picture.dib, picture.width,
                      picture.height, need, m_ahead.get()))
        return std::nullopt;
    return picture;
}
