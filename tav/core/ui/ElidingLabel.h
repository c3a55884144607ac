// A one-line label that never asks for more width than it is given: a text
// too long for it is shown shortened with "…" (the full text as its tip), so
// a long file name in the status line cannot widen the window.
#pragma once

#include <QLabel>

class ElidingLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
