// A tab widget whose captions wrap onto further rows when they do not fit
// side by side, so every tab stays in sight without scroll arrows. Each row
// is stretched to the full width, and the row of the current tab lies next
// to the page, as multi-row tab controls of the desktop do.
#pragma once

#include <QTabBar>
#include <QTabWidget>
#include <QVector>

class MultiRowTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit MultiRowTabBar(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where tab `index` is drawn, for the width the bar has now.
    QRect rowRect(int index) const;
    int rowCount() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void tabLayoutChange() override;

private:
    // The tabs' rectangles laid out in rows `width` pixels wide.
    QVector<QRect> layoutRows(int width) const;
    int tabHeight() const;
    int availableWidth() const;

    int m_rowsLaidOut = 1;
};

class MultiRowTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit MultiRowTabWidget(QWidget* parent = nullptr);
    MultiRowTabBar* rows() const { return static_cast<MultiRowTabBar*>(tabBar()); }

protected:
    void resizeEvent(QResizeEvent* event) override;
};
