// The picture window TfrPic: one picture, with the menu "閉じる(&C)",
// "編集(&E)" → "ｺﾋﾟｰ(&C)", which puts the picture on the clipboard, and
// "表示(&V)" with fitting to the window, zooming in and out, and 100 %.
// A picture larger than the window is fitted to it at first; at other
// sizes the window scrolls. Created for each showing and shown modal.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QScrollArea;

class TfrPic : public QDialog {
    Q_OBJECT
public:
    explicit TfrPic(QWidget* parent = nullptr);

    // The picture component `pic` takes the picture, fitted to the window.
    void setPicture(const QPixmap& picture);

    // The scale the picture is shown at (1.0 = its own size).
    double scale() const;
    bool fitsWindow() const { return m_fit; }
    void fitToWindow();
    void zoomIn();
    void zoomOut();
    void actualSize();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void mnuCopyClick();
    void showAt(double scale);
    double fittingScale() const;

    QLabel* m_pic = nullptr;
    QScrollArea* m_scroll = nullptr;
    QPixmap m_picture;
    double m_scale = 1.0;
    bool m_fit = true;
};
