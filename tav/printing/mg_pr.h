// The page engine Tmg_PR: one object per print job. It computes the page
// geometry from the printer, the margins and the header and footer bands,
// places pictures one grid cell at a time with their captions, draws headers,
// footers and cutting marks at each page end and starts new pages itself.
// With PreviewMode set it draws into page bitmaps at screen resolution and
// shows each finished page in the preview window instead of printing.
#pragma once

#include "imgkit/DibHandle.h"
#include "tav/core/AppSettings.h"
#include "tav/printing/PageLayout.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QFont;
class QPainter;

namespace platform {
class PrintDevice;
}

// What a job draws with.
struct PrintJobEnvironment {
    AppSettings* settings = nullptr;  // margins, fonts, bands; the preview zoom is written back
    platform::PrintDevice* printer = nullptr;  // its capabilities always; drawn on unless previewing
    QString folder;  // printed by a header band of kind 1
    // Shows one finished preview page modally with the zoom carried in and
    // out; false when the user stopped the preview.
    std::function<bool(const QImage& page, double& zoom)> showPreviewPage;
    // Preview pages are drawn this many times finer than the screen (their
    // device pixel ratio), so that an enlarged page stays sharp; less when
    // the sheet would exceed kPreviewPagePixels.
    double previewScale = 1.0;
};

// The most pixels a preview page bitmap may take (96 MB at 32 bits).
inline constexpr double kPreviewPagePixels = 24e6;

// The header and footer separator line widths "極細", "細", "中", "太" in mm.
double SeparatorLineWidthMm(int sizeIndex);

class Tmg_PR {
public:
    explicit Tmg_PR(PrintJobEnvironment environment);
    ~Tmg_PR();
    Tmg_PR(const Tmg_PR&) = delete;
    Tmg_PR& operator=(const Tmg_PR&) = delete;

    // Set by the layout before BeginJob.
    bool autoRotate = false;  // pictures are turned to the cell's orientation
    bool stretch = false;  // drawn at the requested (or cell) size regardless of proportions
    double requestedWidthMm = 0;  // 0 = none
    double requestedHeightMm = 0;

    // The largest point size among the header (or footer) band fonts whose
    // kind is not "none"; 0 when all three are none.
    int MaxBandFontSize(bool footer) const;

    // Opens the job: the geometry, the margin questions, the size checks and
    // the first page. False when nothing was started. A crop pitch given in
    // both directions is the size of every cell (sticker frames): the grid
    // then holds as many of them as fit the image area, at most columns x
    // rows, and frames and cutting marks come from the same cell size.
    bool BeginJob(const QString& title, int cellMargin, double columns, double rows, bool cropMarks,
                  int cropPitchX, int cropPitchY, bool useMargins, bool header, bool footer, bool cutToFill);
    // Fills the next cell with `picture` (the caller keeps it) and its
    // caption, or with `comment` as text when there is no picture. 0, or 9
    // when no job is open.
    int PutCell(const imgkit::DibHandle* picture, int pictureWidth, int pictureHeight, bool captionBelow,
                const QString& caption, const QString& comment);
    // Fills the next `count` cells with copies of `picture` without captions,
    // turning, cutting and resampling it once for all of them.
    int PutCopies(const imgkit::DibHandle& picture, int pictureWidth, int pictureHeight, bool captionBelow,
                  int count);
    // Finishes the last page and the document. True if a job was open and
    // its document was handed over (or had nothing to print).
    bool EndJob();
    // Drops the document at the printer. True if a job was open.
    bool AbortJob();

    bool active() const { return m_active; }
    const PageGeometry& geometry() const { return m_geometry; }
    int previewPageNumber() const { return m_previewPage; }

private:
    struct Placement {
        double x = 0, y = 0;  // from the image area's origin
        double width = 0, height = 0;
    };
    // The picture of a run of copies as drawn: turned and cut once, then
    // resampled once to the size its cells take on the target.
    struct Stamp {
        bool shaped = false;
        imgkit::DibHandle shape;  // empty: the caller's picture as it is
        int width = 0, height = 0;
        imgkit::DibHandle drawn;
        QSize drawnSize;
    };

    QPainter* canvas();
    // The stored font at the current target's resolution; `pointSize`
    // replaces the stored size when given.
    QFont deviceFont(const platform::FontSpec& stored, int pointSize = 0) const;
    int fontHeight(int pointSize) const;
    // Asks about each side whose margin the printer cannot print, marking
    // the sides the user lets the printer adjust; false when one is declined.
    bool askAboutMargins(PageLayout& layout) const;
    void openPreviewPage(const PageGeometry& g);
    void finishPage();
    void putComment(const QString& comment);
    imgkit::DibHandle orientedAndCut(const imgkit::DibHandle& picture, int& width, int& height) const;
    Placement place(int width, int height, bool captionBelow) const;
    void drawPicture(const imgkit::DibHandle& picture, const Placement& at);
    // The picture resampled to `size` for this target (24 bits for the
    // preview); reused through a run of copies.
    const imgkit::DibHandle* drawnPicture(const imgkit::DibHandle& picture, QSize size);
    void drawCaption(const QString& caption, const Placement& at);
    void advance();

    void DrawHeaderFooter();
    void DrawBandText(const HeaderFooterSlot& slot, int position, bool footer);
    QString bandText(int kind, bool footer);
    void DrawCropMarks();
    void ShowPreviewPage();
    void ClearPreviewPage();
    int CurrentPageNumber() const;

    PrintJobEnvironment m_env;
    bool m_active = false;
    bool m_preview = false;
    int m_requestedWidth = 0, m_requestedHeight = 0;
    int m_previewPage = 1;
    bool m_headerOn = false, m_footerOn = false;
    PageGeometry m_geometry;
    bool m_cropMarks = false;
    int m_cellCounter = 0;  // cells used on this page; -1: the page is full
    int m_column = 1, m_row = 1;
    int m_cellsPlaced = 0;  // in the whole document
    QImage m_pageBitmap;
    std::unique_ptr<QPainter> m_pagePainter;
    double m_lastX = 0, m_lastY = 0;
    bool m_cutToFill = false;
    bool m_stamping = false;  // inside PutCopies
    Stamp m_stamp;
};
