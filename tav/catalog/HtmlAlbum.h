// The HTML album: one page in the current folder showing the selected
// pictures as a table of linked images, with optional thumbnail JPEG files in
// the sub-folder "__tavIdxData" and captions from the caption builder. The
// page is Shift-JIS text with CR LF line ends.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

class CommandHost;
class PictureQueue;
struct LoadNeed;

// The folder beside the page that holds the thumbnails.
inline constexpr char kHtmlThumbnailFolder[] = "__tavIdxData";

// The page's layout choices.
struct HtmlPageOptions {
    QString title;  // plain text; written escaped
    std::uint32_t background = 0xFFFFFF;  // colour reference 0x00BBGGRR
    int titlePosition = 1;  // 0 left, 1 centre, 2 right; other values: no alignment tags
    QString fontSize = QStringLiteral("+4");  // "-5" ... "+5"
    bool bold = false;
    bool italic = false;
    bool separator = true;  // a line between the title and the table
    int tableWidth = 512;
    int perRow = 5;
    bool thumbnails = false;  // the images show the thumbnail files
};

// One table cell.
struct HtmlCell {
    QString fileName;  // the picture's name in the page's folder
    QString thumbnailName;  // "__name.jpg" in the thumbnail folder
    QString caption;  // HTML text from BuildCaption; empty: none
    int width = 0;
    int height = 0;
    bool thumbnailFailed = false;  // a thumbnail was due but could not be written
};

// The whole page text, lines ended by CR LF.
QString HtmlAlbumPage(const HtmlPageOptions& options, const QList<HtmlCell>& cells);

// "album.html" stays, "album" becomes "album.htm".
QString HtmlPageFileName(const QString& typed);

// What the cell of one picture needs to know.
struct HtmlCellRequest {
    QString source;  // the picture's full path
    QString thumbnailPath;  // full path of its thumbnail; empty: no thumbnails
    bool reuseThumbnail = false;  // an existing thumbnail is taken as it is
    int maxWidth = 144;
    int maxHeight = 94;
    QString gvPath;  // fallback decoder; empty: none
    bool highQuality = false;  // thumbnails through pelcalc's high-quality filter
    PictureQueue* ahead = nullptr;  // the run's pictures decoded ahead (HtmlLoadNeed); null: none
};

// Whether preparing the cell decodes the source (no thumbnail is kept for it),
// and how large.
bool HtmlCellDecodes(const HtmlCellRequest& request);
LoadNeed HtmlLoadNeed(const HtmlCellRequest& request);

// Sizes the picture into maxWidth x maxHeight (enlarging small ones), builds
// its caption under the caption options in force and, with a thumbnail path,
// writes the thumbnail (JPEG quality 70). A picture that is missing or cannot
// be loaded still gets its cell, linking to the file: it takes the maximum
// size, so the table keeps its grid, and the caption built without a picture
// (name, date and title, no size).
HtmlCell PrepareHtmlCell(const HtmlCellRequest& request);

// The tab's command "HTMLの作成": checks the tab, asks before overwriting,
// prepares the cells of the selected files in view order (stoppable between
// files) and writes the page and its thumbnails into the current folder.
void WriteHtmlAlbum(CommandHost& host);
