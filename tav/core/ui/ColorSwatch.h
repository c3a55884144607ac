// A colour swatch: a framed panel showing a fill colour (a colour reference
// 0x00BBGGRR as the settings store it). Clicking it emits clicked(); the tab
// that owns it opens the colour chooser.
#pragma once

#include <QFrame>
#include <cstdint>

class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    ColorSwatch(const QString& name, std::uint32_t colorRef, QWidget* parent = nullptr);

    std::uint32_t colorRef() const { return m_color; }
    void setColorRef(std::uint32_t colorRef);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::uint32_t m_color;
};
