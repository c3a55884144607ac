#include "tav/core/ui/ColorSwatch.h"

#include <QColor>
#include <QMouseEvent>
#include <QPalette>

namespace {

// A colour reference holds red in its low byte, then green, then blue.
QColor fromColorRef(std::uint32_t colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

}  // namespace

ColorSwatch::ColorSwatch(const QString& name, std::uint32_t colorRef, QWidget* parent)
    : QFrame(parent), m_color(colorRef)
{
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setFixedSize(40, 18);
    setCursor(Qt::PointingHandCursor);
    setColorRef(colorRef);
}

void ColorSwatch::setColorRef(std::uint32_t colorRef)
{
    m_color = colorRef;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, fromColorRef(colorRef));
    setPalette(colours);
    update();
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}
