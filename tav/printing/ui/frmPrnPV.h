// The print preview window TfrPrnPV: shows one finished page bitmap modally,
// zoomed, and lets the user copy it, go on to the next page or stop.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QScrollArea;

class TfrPrnPV : public QDialog {
    Q_OBJECT
public:
    // `page` is the finished page (24-bit, one millimetre = ScreenDotsPerMm
    // pixels times its device pixel ratio); `zoom` the zoom to show it at.
    TfrPrnPV(QWidget* parent, const QImage& page, double zoom);

    double zoom() const { return m_zoom; }
    // True once "ﾌﾟﾚﾋﾞｭｰ中止(&X)" was chosen.
    bool stopRequested() const { return m_stop; }

    // "次ﾍﾟｰｼﾞへ(&N)": closes; the job goes on.
    void mnuNeClick();
    // "縮小(&S)", "拡大(&K)", "標準(&N)".
    void mnuSyukuSyouClick();
    void mnuKakuDaiClick();
    void mnuDspNomalClick();
    // "ﾍﾟｰｼﾞ全体(&W)": the zoom at which the whole page fits the screen.
    void mnuZentaiClick();
    // "ｺﾋﾟｰ(&C)": the page bitmap to the clipboard.
    void mnuCopyClick();
    // "ﾌﾟﾚﾋﾞｭｰ中止(&X)": sets the stop flag and closes.
    void mnuPV_endClick();

    // Shows `page` modally over `owner` at `zoom`, then carries the zoom the
    // user left back into `zoom` and a stop into AbortRequested (a stop asked
    // for before the page was shown stays asked for). True = go on with the
    // next page. An empty page shows nothing and goes on.
    static bool showPage(QWidget* owner, const QImage& page, double& zoom);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setZoom(double zoom);
    // The page's size in screen pixels at 100 % (it may be drawn finer).
    QSize pageSize() const;
    // The screen's room for the window, and what the window adds around the page.
    QRect room() const;
    QSize chrome() const;
    // Sizes `pic` and the window to the page at the zoom (the window no
    // larger than the screen, the page then scrolls) and rewrites the caption.
    void applyZoom();

    QImage m_page;
    double m_zoom;
    bool m_stop = false;
    QLabel* m_pic;
    QScrollArea* m_scroll;
};
