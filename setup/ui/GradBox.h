// TGradBox: a control filled with bands of colour running from StartColor to
// EndColor, top to bottom or left to right.
#pragma once

#include <QColor>
#include <QWidget>

enum class TGradDirection { gdHorizontal, gdVertical };

class TGradBox : public QWidget {
    Q_OBJECT
public:
    explicit TGradBox(QWidget* parent = nullptr);

    QColor StartColor() const { return m_start; }
    QColor EndColor() const { return m_end; }
    int GradStep() const { return m_step; }
    TGradDirection Direction() const { return m_direction; }

    // Each setter repaints and reports OnChange; the direction only when it changes.
    void setStartColor(const QColor& color);
    void setEndColor(const QColor& color);
    void setGradStep(int step);  // kept to 0..255
    void setDirection(TGradDirection direction);

    // Paints the gradient over `extent` (width × height) with `painter`.
    void paintGradient(QPainter& painter, QSize extent) const;

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    QColor m_start = Qt::white;
    QColor m_end = Qt::black;
    int m_step = 128;
    TGradDirection m_direction = TGradDirection::gdVertical;
};
