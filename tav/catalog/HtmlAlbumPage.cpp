// The text of the HTML album page. Users post-process these pages, so the
// tags and attributes are written exactly as the album always wrote them,
// including the single "<TR>" of the table and the closing "</CENTER>".
#include "tav/catalog/HtmlAlbum.h"

#include "tav/core/TavVersion.h"
#include "tav/core/TextHelpers.h"

#include <QUrl>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A file name as one path segment of a relative URL: a space, "#", "%", "&",
// quotes or a ":" (which would read as a scheme) cannot break the link or the
// attribute, and names the page's code page cannot hold survive as UTF-8.
QString urlSegment(const QString& name) { return QString::fromLatin1(QUrl::toPercentEncoding(name)); }

QString hexByte(std::uint8_t value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')); }

QString titleBlock(const HtmlPageOptions& o)
{
    QString open;
    QString close;
    switch (o.titlePosition) {
    case 0:
        open = QStringLiteral("<LEFT>");
        close = QStringLiteral("</LEFT>");
        break;
    case 1:
        open = QStringLiteral("<CENTER>");
        close = QStringLiteral("</CENTER>");
        break;
    case 2:
        open = QStringLiteral("<P ALIGN=RIGHT>");
        close = QStringLiteral("</P>");
        break;
    default: break;
    }
    if (o.bold) {
        open += QStringLiteral("<B>");
        close = QStringLiteral("</B>") + close;
    }
    if (o.italic) {
        open += QStringLiteral("<I>");
        close = QStringLiteral("</I>") + close;
    }
    return open + QStringLiteral("<FONT SIZE=\"") + o.fontSize + QStringLiteral("\">") +
           o.title.toHtmlEscaped() + close + kCrLf + kCrLf;
}

QString cellText(const HtmlPageOptions& o, const HtmlCell& cell)
{
    QString text = QStringLiteral("<TD WIDTH=\"100%\" ALIGN=\"center\">") + kCrLf;
    const QString link = urlSegment(cell.fileName);
    text += QStringLiteral("<A HREF=\"") + link + QStringLiteral("\" TARGET=\"_blank\">");
    if (o.thumbnails)
        text += QStringLiteral("<IMG SRC=\"./") + QLatin1String(kHtmlThumbnailFolder) + QLatin1Char('/') +
                urlSegment(cell.thumbnailName) + QLatin1Char('"');
    else
        text += QStringLiteral("<IMG SRC=\"") + link + QLatin1Char('"');
    text += QStringLiteral(" WIDTH=\"%1\" HEIGHT=\"%2\" ").arg(cell.width).arg(cell.height);
    text += QStringLiteral("VALIGN=\"middle\" BORDER=\"0\"");
    text += o.thumbnails ? QStringLiteral(" NATURALSIZEFLAG=\"0\">") : QStringLiteral(" >");
    if (!cell.caption.isEmpty())
        text += QStringLiteral("<br><FONT SIZE=-1>") + cell.caption + QStringLiteral("</font>");
    else
        text += QStringLiteral("</A>") + kCrLf;
    return text + QStringLiteral("</TD>") + kCrLf;
}

}  // namespace

QString HtmlPageFileName(const QString& typed)
{
    return SplitExtension(typed).extension.isEmpty() ? typed + QStringLiteral(".htm") : typed;
}

QString HtmlAlbumPage(const HtmlPageOptions& o, const QList<HtmlCell>& cells)
{
    QString page = QStringLiteral("<HTML>") + kCrLf + QStringLiteral("<HEAD>") + kCrLf;
    page += QStringLiteral("  <META NAME=\"GENERATOR\" CONTENT=\"Tav Ver") + QLatin1String(kTavVersion) +
            QStringLiteral("\">") + kCrLf;
    page +=
        QStringLiteral("  <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;CHARSET=x-sjis\">") + kCrLf;
    page += QStringLiteral("<TITLE>") + o.title.toHtmlEscaped() + QStringLiteral("</TITLE></HEAD><BODY>") +
            kCrLf + kCrLf;

    const RgbBytes rgb = ColorToRgbBytes(o.background);
    page += QStringLiteral("<BODY BGCOLOR=\"#") + hexByte(rgb.red) + hexByte(rgb.green) + hexByte(rgb.blue) +
            QStringLiteral("\">") + kCrLf + kCrLf;
    if (!o.title.isEmpty())
        page += titleBlock(o);
    if (o.separator)
        page += QStringLiteral("<HR SIZE=3>") + kCrLf + kCrLf;

    page += QStringLiteral("<P><TABLE WIDTH=\"%1\" BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"0\">")
                .arg(o.tableWidth) +
            kCrLf + QStringLiteral("<TR>") + kCrLf + kCrLf;
    // Rows after the first get no "<TR>" of their own; browsers open them.
    int column = 0;
    for (const HtmlCell& cell : cells) {
        page += cellText(o, cell);
        if (++column == o.perRow) {
            page += QStringLiteral("</TR>") + kCrLf;
            column = 0;
        }
    }
    if (column != 0)
        page += QStringLiteral("</TR>") + kCrLf + kCrLf;
    page += QStringLiteral("</TABLE></CENTER>") + kCrLf + QStringLiteral("</BODY></HTML>") + kCrLf;
    return page;
}
