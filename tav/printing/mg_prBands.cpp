// Tmg_PR at each page end: header and footer bands, their separator lines,
// and the cutting marks.
#include "tav/printing/mg_pr.h"

#include "platform/FontSpecQt.h"
#include "platform/PrintDevice.h"
#include "tav/core/TextHelpers.h"
#include "tav/printing/PageUnits.h"

#include <QDate>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace {

enum HeaderKind { HeaderNone = 0, HeaderFolder = 1, HeaderDate = 2, HeaderTitle = 3 };
enum FooterKind { FooterNone = 0, FooterPageNumber = 1, FooterTitle = 2 };

void drawSeparator(QPainter& dc, int width, int x1, int x2, int y)
{
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap);
    dc.setPen(pen);
    dc.drawLine(x1, y, x2, y);
}

}  // namespace

int Tmg_PR::MaxBandFontSize(bool footer) const
{
    const auto& bands = footer ? m_env.settings->footer : m_env.settings->header;
    int largest = 0;
    // A slot's kind is its position in the options dialog's list, where 0 is
    // "なし": such a slot prints nothing and takes no room, whatever its font.
    for (const HeaderFooterSlot& slot : bands)
        if (slot.type != 0)
            largest = std::max(largest, std::abs(slot.font.size));
    return largest;
}

void Tmg_PR::DrawHeaderFooter()
{
    const AppSettings& s = *m_env.settings;
    const PageGeometry& g = m_geometry;
    const double d = g.dotsPerMm;
    QPainter* dc = canvas();
    if (m_headerOn) {
        if (s.headerLine) {
            const int p = truncToInt(SeparatorLineWidthMm(s.headerLineSize) * d);
            const int b = truncToInt(p / 2.0 + 0.5);
            const int y = g.top + g.headerHeight - b;
            drawSeparator(*dc, p, g.left, g.left + g.imageAreaWidth, y);
        }
        for (int i = 0; i < 3; ++i)
            DrawBandText(s.header[i], i, false);
    }
    if (m_footerOn) {
        if (s.footerLine) {
            const int p = truncToInt(SeparatorLineWidthMm(s.footerLineSize) * d);
            const int b = truncToInt(p / 2.0 + 0.5);
            const int y = g.top + g.headerHeight + g.imageAreaHeight + b;
            drawSeparator(*dc, p, g.left, g.left + g.imageAreaWidth, y);
        }
        for (int i = 0; i < 3; ++i)
            DrawBandText(s.footer[i], i, true);
    }
}

QString Tmg_PR::bandText(int kind, bool footer)
{
    const AppSettings& s = *m_env.settings;
    if (footer) {
        switch (kind) {
        case FooterPageNumber: return QStringLiteral("-%1-").arg(CurrentPageNumber());
        case FooterTitle: return s.footerTitle;
        default: return {};
        }
    }
    switch (kind) {
    case HeaderFolder: return m_env.folder;
    case HeaderDate: return shortDateText(QDate::currentDate());
    case HeaderTitle: return s.headerTitle;
    default: return {};
    }
}

void Tmg_PR::DrawBandText(const HeaderFooterSlot& slot, int position, bool footer)
{
    const QString text = bandText(slot.type, footer);
    if (text.isEmpty())
        return;
    const AppSettings& s = *m_env.settings;
    const PageGeometry& g = m_geometry;
    QPainter* dc = canvas();
    const QFont font = deviceFont(slot.font);
    const int height = fontHeight(slot.font.size);
    dc->setFont(font);
    dc->setPen(platform::toQColor(slot.font.color));
    int top = g.top;
    int bottom = g.top + g.headerHeight + height;
    if (footer) {
        top = g.top + g.headerHeight + g.imageAreaHeight;
        if (s.footerLine)
            top += truncToInt(SeparatorLineWidthMm(s.footerLineSize) * g.dotsPerMm) + 1;
        bottom = top + height;
    }
    static constexpr Qt::AlignmentFlag kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const QRect band(g.left, top, g.imageAreaWidth, bottom - top);
    dc->drawText(band, kAlign[position] | Qt::AlignTop, text);
}

void Tmg_PR::DrawCropMarks()
{
    if (!m_cropMarks)
        return;
    const PageGeometry& g = m_geometry;
    QPainter* dc = canvas();
    dc->setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    const int arm = truncToInt(1.5 * g.dotsPerMm + 0.5);
    for (int r = 0; r <= g.rows; ++r) {
        for (int c = 0; c <= g.columns; ++c) {
            const int x = g.imageAreaLeft + c * g.cropPitchX;
            const int y = g.imageAreaTop + r * g.cropPitchY;
            dc->drawLine(x - arm, y, x + arm, y);
            dc->drawLine(x, y - arm, x, y + arm);
        }
    }
}
