#include "tav/core/ui/MultiRowTabs.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <algorithm>

MultiRowTabBar::MultiRowTabBar(QWidget* parent) : QTabBar(parent)
{
    setUsesScrollButtons(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setDrawBase(false);
}

int MultiRowTabBar::tabHeight() const
{
    int height = 0;
    for (int i = 0; i < count(); ++i)
        height = std::max(height, tabSizeHint(i).height());
    return height;
}

// The bar is as wide as its tab widget lets it be; before it has been laid
// out that is the tab widget's own width.
int MultiRowTabBar::availableWidth() const
{
    const QWidget* owner = parentWidget();
    return std::max(1, owner ? owner->width() - 2 : width());
}

QVector<QRect> MultiRowTabBar::layoutRows(int width) const
{
    QVector<QVector<int>> rows(1);
    int used = 0;
    for (int i = 0; i < count(); ++i) {
        const int w = tabSizeHint(i).width();
        if (used > 0 && used + w > width) {
            rows.append(QVector<int>());
            used = 0;
        }
        rows.last().append(i);
        used += w;
    }
    // The row of the current tab lies next to the page, which its tab opens onto.
    for (int r = 0; r + 1 < rows.size(); ++r) {
        if (rows[r].contains(currentIndex())) {
            rows.append(rows.takeAt(r));
            break;
        }
    }
    QVector<QRect> rects(count());
    const int height = tabHeight();
    for (int r = 0; r < rows.size(); ++r) {
        int natural = 0;
        for (int i : rows[r])
            natural += tabSizeHint(i).width();
        // Rows of a wrapped bar share out the spare width; a single row keeps its tabs' own widths.
        const int spare = rows.size() > 1 ? std::max(0, width - natural) : 0;
        int x = 0;
        for (int k = 0; k < rows[r].size(); ++k) {
            const int i = rows[r][k];
            const int extra = spare / int(rows[r].size()) + (k < spare % int(rows[r].size()) ? 1 : 0);
            const int w = tabSizeHint(i).width() + extra;
            rects[i] = QRect(x, r * height, w, height);
            x += w;
        }
    }
    return rects;
}

int MultiRowTabBar::rowCount() const
{
    if (count() == 0)
        return 1;
    const QVector<QRect> rects = layoutRows(availableWidth());
    int rows = 0;
    for (const QRect& r : rects)
        rows = std::max(rows, r.bottom() / std::max(1, tabHeight()) + 1);
    return rows;
}

QRect MultiRowTabBar::rowRect(int index) const { return layoutRows(availableWidth()).value(index); }

QSize MultiRowTabBar::sizeHint() const
{
    int natural = 0;
    for (int i = 0; i < count(); ++i)
        natural += tabSizeHint(i).width();
    return QSize(std::min(natural, availableWidth()), rowCount() * tabHeight());
}

QSize MultiRowTabBar::minimumSizeHint() const
{
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, tabSizeHint(i).width());
    return QSize(widest, rowCount() * tabHeight());
}

void MultiRowTabBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QVector<QRect> rects = layoutRows(width());
    // The current tab last, so that its raised frame lies over its neighbours.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count(); ++i) {
            if ((i == currentIndex()) != (pass == 1))
                continue;
            QStyleOptionTab option;
            initStyleOption(&option, i);
            option.rect = rects[i];
            // The bar's own hover tracking knows only its single row.
            option.state &= ~QStyle::State_MouseOver;
            option.position = QStyleOptionTab::Middle;
            option.selectedPosition = QStyleOptionTab::NotAdjacent;
            style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
        }
    }
}

void MultiRowTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QVector<QRect> rects = layoutRows(width());
    for (int i = 0; i < count(); ++i) {
        if (rects[i].contains(event->position().toPoint()) && isTabEnabled(i)) {
            setCurrentIndex(i);
            break;
        }
    }
    event->accept();
}

// No dragging of tabs; the press chose the tab.
void MultiRowTabBar::mouseMoveEvent(QMouseEvent* event) { event->accept(); }
void MultiRowTabBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void MultiRowTabBar::resizeEvent(QResizeEvent* event)
{
    QTabBar::resizeEvent(event);
    const int rows = rowCount();
    if (rows != m_rowsLaidOut) {
        m_rowsLaidOut = rows;
        updateGeometry();
    }
    update();
}

void MultiRowTabBar::tabLayoutChange()
{
    QTabBar::tabLayoutChange();
    m_rowsLaidOut = rowCount();
    updateGeometry();
}

MultiRowTabWidget::MultiRowTabWidget(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new MultiRowTabBar(this));
}

// A new width may need another number of rows: the bar's height follows.
void MultiRowTabWidget::resizeEvent(QResizeEvent* event)
{
    QTabWidget::resizeEvent(event);
    tabBar()->updateGeometry();
}
