#include "setup/ui/GradBox.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

TGradBox::TGradBox(QWidget* parent) : QWidget(parent) { resize(128, 128); }

void TGradBox::setStartColor(const QColor& color)
{
    m_start = color;
    changed();
}

void TGradBox::setEndColor(const QColor& color)
{
    m_end = color;
    changed();
}

void TGradBox::setGradStep(int step)
{
    m_step = std::clamp(step, 0, 255);
    changed();
}

void TGradBox::setDirection(TGradDirection direction)
{
    if (direction == m_direction)
        return;
    m_direction = direction;
    changed();
}

void TGradBox::changed()
{
    update();
    emit OnChange();
}

void TGradBox::paintGradient(QPainter& painter, QSize extent) const
{
    const bool vertical = m_direction == TGradDirection::gdVertical;
    const int length = vertical ? extent.height() : extent.width();
    const int across = vertical ? extent.width() : extent.height();
    const int n = m_step + 1;
    // Halves round to even, as the band size and channel steps always have.
    int band = static_cast<int>(std::nearbyint(static_cast<double>(length) / n));
    if (band == 0)
        band = 1;
    const int from[3] = {m_start.red(), m_start.green(), m_start.blue()};
    const int to[3] = {m_end.red(), m_end.green(), m_end.blue()};
    auto bandRect = [&](int position, int size) {
        return vertical ? QRect(0, position, across, size) : QRect(position, 0, size, across);
    };
    QColor colour;
    int position = 0;
    for (int i = 0; i <= n; ++i) {
        int channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = (from[c] + static_cast<int>(std::nearbyint(double(to[c] - from[c]) / n * i))) & 0xFF;
        colour = QColor(channel[0], channel[1], channel[2]);
        painter.fillRect(bandRect(position, band), colour);
        position += band;
    }
    if (position + band < length)
        painter.fillRect(bandRect(position, length - position), colour);
}

void TGradBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintGradient(painter, size());
}
