// The picture window TfrPic: one picture at its own size, with the menu
// "閉じる(&C)" and "編集(&E)" → "ｺﾋﾟｰ(&C)", which puts the picture on the
// clipboard. Created for each showing and shown modal.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

class TfrPic : public QDialog {
    Q_OBJECT
public:
    explicit TfrPic(QWidget* parent = nullptr);

    // The picture component `pic` takes the picture and its size.
    void setPicture(const QPixmap& picture);

protected:
    void changeEvent(QEvent* event) override;

private:
    void mnuCopyClick();

    QLabel* m_pic = nullptr;
};
