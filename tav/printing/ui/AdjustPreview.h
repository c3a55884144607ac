// The preview of the tab "画像調整": the first selected picture, reduced to
// the preview box, shown plain, in grey, or with the brightness or the colour
// change of the tab's boxes. The reduced picture (AdjustPreviewPicture) is
// shared with the picture preview of the title and comment tab.
#pragma once

#include "imgkit/DibHandle.h"
#include "tav/core/AppSettings.h"

#include <QObject>
#include <QSize>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

enum class PreviewPage { Adjust, Titles, Other };

// What the preview takes from the main window.
struct AdjustPreviewHost {
    std::function<PreviewPage()> activePage;
    // Full path of the first selected file in view order; empty for none.
    std::function<QString()> firstSelectedPath;
    std::function<void(const QString&)> setStatus;
    const AppSettings* settings = nullptr;  // GV path, high-quality scaling
};

class AdjustPreview : public QObject {
    Q_OBJECT
public:
    // `adjustPage` is the tab's page (buildAdjustTab), holding pic2, ch_gurei,
    // tx_akarusa, tx_r, tx_g, tx_b and their ud_ counters.
    AdjustPreview(QWidget* adjustPage, AdjustPreviewHost host, QObject* parent = nullptr);

    // Connects ch_gurei and the four edit boxes (which the counters write
    // into) to their handlers; the button btGazoCyoPV is the main window's to
    // connect, with its other commands. Call once the settings are in the
    // controls, so that loading them shows no message.
    void connectTabControls();

    // Loads the first selected picture into `target` (pic2, or the title
    // tab's pic3 with `titlePreviewOn` = cb_ticom_prv checked).
    void LoadAdjustPreview(QLabel* target, bool titlePreviewOn = true);

    // The button "ﾌﾟﾚﾋﾞｭｰの再表示", and the click on the work tabs: reloads on
    // the adjustment tab, releases the preview picture on any other.
    void btGazoCyoPVClick();
    void ch_gureiClick();
    void tx_akarusaChange();
    void tx_rChange();  // shared by tx_r, tx_g and tx_b

    const imgkit::DibHandle& AdjustPreviewPicture() const { return m_picture; }
    void releasePicture() { m_picture.reset(); }

    QLabel* previewBox() const { return m_pic2; }

private:
    bool loadPicture(QLabel* target, bool onAdjustTab);
    // Draws `picture` stretched into pic2's bitmap of the preview's size.
    void drawIntoPreview(const imgkit::DibHandle& picture);
    void setBoxesEnabled(bool on);
    // The brightness view unless its text is "0", then the colour view
    // unless all three texts are "0".
    void applyViews();

    AdjustPreviewHost m_host;
    QLabel* m_pic2;
    QCheckBox* m_gurei;
    QLineEdit* m_akarusa;
    QLineEdit* m_r;
    QLineEdit* m_g;
    QLineEdit* m_b;
    QList<QWidget*> m_boxes;  // edit boxes and their counters
    imgkit::DibHandle m_picture;
};
