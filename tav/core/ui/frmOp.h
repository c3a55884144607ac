// The options dialog TfrOp "環境設定": the page header and footer (three
// slots each with their fonts, and a separator line), the page margins, the
// print fonts for file names and comments, high-quality scaling, and what the
// program knows of GV. It works on a copy of the settings and stores it back
// into AppSettings only on "O.K"; "ｷｬﾝｾﾙ", Enter and the close box store nothing.
#pragma once

#include "tav/core/OptionsModel.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class UpDown;

class TfrOp : public QDialog {
    Q_OBJECT
public:
    // `currentFolder` is the browser's folder the header preview shows;
    // `printerMinimum` the default printer's unprintable strips in mm.
    TfrOp(AppSettings& settings, const QString& currentFolder, const PageMargins& printerMinimum,
          QWidget* parent = nullptr);

    // Creates the dialog for one use, shows it modal over `owner` and releases
    // it; true when "O.K" stored the values.
    static bool Execute(QWidget* owner, AppSettings& settings, const QString& currentFolder,
                        const PageMargins& printerMinimum);

private:
    // The preview boxes' height for the usual fonts; a taller label makes its box taller.
    static constexpr int kPreviewMinHeight = 64;

    QWidget* buildGvPage();
    QWidget* buildFontPage(const char* sampleName, const char* buttonName, int tag, QLabel*& sample);
    QWidget* buildScalingPage();
    QWidget* buildPhotoSwitches();
    void showPhotoSwitches();
    void storePhotoSwitches();
    // The margin counters run from the printer's minimum on their side to 50.
    QWidget* buildMarginPage(const std::array<int, 4>& lowerLimits);
    QWidget* buildHeaderPage();
    QWidget* buildFooterPage();
    QFrame* buildPreviewBox(const char* name, std::array<QLabel*, 3>& labels, const char* const labelNames[3],
                            const char* lineName, QFrame*& line, int labelTop);

    void FormShow(const QString& currentFolder, const PageMargins& printerMinimum);
    void bt_okClick();
    void fontButtonClick(int tag);
    void cb_HeChange(int position);
    void cb_FuChange(int position);
    void tx_hetaTitleChange();
    void tx_FutaTitleChange();
    // Shows `text` in a preview label, or hides and empties it for nullopt.
    void showSlot(QLabel* label, const std::optional<QString>& text);
    void placeLabels(const std::array<QLabel*, 3>& labels);
    void drawHeaderLine();
    void drawFooterLine();
    QLabel* targetLabel(FontTarget target) const;

    AppSettings& m_settings;
    OptionsForm m_form;
    QTabWidget* m_pages = nullptr;

    QLineEdit* m_gvPath = nullptr;
    QCheckBox* m_gvVer = nullptr;
    UpDown* m_gvWait = nullptr;
    QLabel* m_fileFontSample = nullptr;
    QLabel* m_commentFontSample = nullptr;
    QCheckBox* m_pelcalc = nullptr;
    // Camera pictures: upright, colour profiles, EXIF date, GPS kept on conversion.
    std::array<QCheckBox*, 4> m_photoSwitches{};

    // Top, bottom, left, right, in the order of the page.
    std::array<QGroupBox*, 4> m_marginGroups{};
    std::array<UpDown*, 4> m_marginCounters{};

    std::array<QComboBox*, 3> m_headerLists{};
    std::array<QLabel*, 3> m_headerLabels{};
    QLineEdit* m_headerTitle = nullptr;
    QCheckBox* m_headerLineOn = nullptr;
    QComboBox* m_headerLineSize = nullptr;
    QFrame* m_headerLine = nullptr;

    std::array<QComboBox*, 3> m_footerLists{};
    std::array<QLabel*, 3> m_footerLabels{};
    QLineEdit* m_footerTitle = nullptr;
    QCheckBox* m_footerLineOn = nullptr;
    QComboBox* m_footerLineSize = nullptr;
    QFrame* m_footerLine = nullptr;
};
