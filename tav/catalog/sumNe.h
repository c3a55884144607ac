// The thumbnail sheet builder: pictures shrunk into the cells of a grid on
// numbered sheet pictures of a fixed pixel size, over an optional backing
// picture, with an optional drop shadow and caption under each picture. Full
// sheets are written as stem + "001" + ".bmp" / ".jpg" / ".tif" (or shown in
// the preview) when the next picture arrives or the run finishes.
#pragma once

#include "imgkit/DibHandle.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

struct AppSettings;

enum class SheetFormat : std::uint8_t { Bmp = 0, Jpg = 1, Tif = 2 };

// The file of sheet `number`: stem + "%.3d" + ".bmp" / ".jpg" / ".tif".
QString SheetFileName(const QString& stem, SheetFormat format, int number);

// What the builder needs from the program around it.
struct SheetEnvironment {
    // The caption font, the high-quality scaling switch and the preview zoom
    // (which the preview may change).
    AppSettings* settings = nullptr;
    // Shows one sheet modally at `zoom` (left changed by the user); false
    // when the user stopped.
    std::function<bool(const QImage& sheet, double& zoom)> showPreviewPage;
};

class TsumNe {
public:
    explicit TsumNe(SheetEnvironment env);

    // Set before BeginSheets. The backing picture is stretched over every
    // sheet; any depth is accepted (it is drawn as 24-bit colour).
    imgkit::DibHandle background;
    bool shadow = false;
    std::uint32_t shadowColor = 0x808080;  // colour reference 0x00BBGGRR
    int jpegQuality = 100;

    // Opens a run: sheet 1, first cell, a fresh sheet bitmap. Sizes below 1
    // count as 1.
    void BeginSheets(const QString& stem, int margin, int sheetHeight, int sheetWidth, bool preview,
                     SheetFormat format, int rows, int columns);
    // Places the picture in the next cell (writing the full sheet first when
    // the previous picture filled it). 0, or 9 when no run is open or the
    // picture is empty. `path` (may be empty) names the picture for its
    // caption under the caption options in force; `fit` 1 scales the picture
    // to its cell both ways, 0 only reduces it.
    int AddPicture(const imgkit::DibHandle& picture, int pictureWidth, const QString& path, int fit,
                   int pictureHeight);
    // Writes (or shows) the current sheet and closes the run.
    void FinishSheets();
    // Closes the run without writing the current sheet.
    void CancelSheets();

    // The names of sheets that could not be written, in order.
    const QStringList& failedSheets() const { return m_failed; }
    int writtenSheets() const { return m_written; }
    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }

private:
    void createSheet();
    void outputSheet();
    void nextSheet();
    bool saveSheet(const QString& target) const;
    void drawCaption(const QString& caption, double x, double y, int w, int h);
    int captionFontPixels(int pointSize) const;
    void advance();

    SheetEnvironment m_env;
    bool m_open = false;
    int m_columns = 1;
    int m_rows = 1;
    int m_cellsPerSheet = 1;
    int m_cellWidth = 1;
    int m_cellHeight = 1;
    int m_sheetWidth = 1;
    int m_sheetHeight = 1;
    int m_margin = 0;
    int m_usedCells = 0;  // -1: the sheet is full and not yet written
    QString m_stem;
    int m_sheetNumber = 1;
    SheetFormat m_format = SheetFormat::Bmp;
    bool m_preview = false;
    int m_column = 1;
    int m_row = 1;
    QImage m_sheet;  // null between sheets
    QStringList m_failed;
    int m_written = 0;
};
