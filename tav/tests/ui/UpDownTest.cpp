// The counter and its edit field: the position stays in range, stepping writes
// the field, typing a number in range moves the counter, other text is kept.
#include "tav/core/ui/UpDown.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <vector>

namespace {

QToolButton* arrow(UpDown& counter, Qt::ArrowType type)
{
    for (QToolButton* button : counter.findChildren<QToolButton*>())
        if (button->arrowType() == type)
            return button;
    return nullptr;
}

// Records every position the counter reports.
struct Moves {
    explicit Moves(UpDown& counter)
    {
        QObject::connect(&counter, &UpDown::positionChanged, &counter,
                         [this](int position) { positions.push_back(position); });
    }
    std::vector<int> positions;
};

void pressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST(UpDownTest, CarriesTheCounterAndFieldNames)
{
    UpDown counter(QStringLiteral("ud_komaYohaku"), QStringLiteral("tx_komaYohaku"), 0, 20);
    EXPECT_EQ(counter.objectName(), QStringLiteral("ud_komaYohaku"));
    EXPECT_EQ(counter.edit()->objectName(), QStringLiteral("tx_komaYohaku"));
    EXPECT_EQ(counter.edit()->parentWidget(), &counter);
}

TEST(UpDownTest, StartsInRange)
{
    UpDown zeroInside(QStringLiteral("a"), QStringLiteral("b"), -100, 100);
    EXPECT_EQ(zeroInside.position(), 0);
    EXPECT_EQ(zeroInside.edit()->text(), QStringLiteral("0"));
    UpDown zeroBelow(QStringLiteral("a"), QStringLiteral("b"), 10, 190);
    EXPECT_EQ(zeroBelow.position(), 10);
    EXPECT_EQ(zeroBelow.edit()->text(), QStringLiteral("10"));
}

TEST(UpDownTest, SetPositionClampsAndWritesTheField)
{
    UpDown counter(QStringLiteral("ud_komaHabaMM"), QStringLiteral("tx_komaHabaMM"), 10, 190);
    counter.setPosition(40);
    EXPECT_EQ(counter.position(), 40);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("40"));
    counter.setPosition(500);
    EXPECT_EQ(counter.position(), 190);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("190"));
    counter.setPosition(-3);
    EXPECT_EQ(counter.position(), 10);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("10"));
}

TEST(UpDownTest, SetPositionRewritesFreeTextEvenAtTheSamePosition)
{
    UpDown counter(QStringLiteral("a"), QStringLiteral("b"), 0, 20);
    counter.edit()->setText(QStringLiteral("abc"));
    counter.setPosition(0);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("0"));
}

TEST(UpDownTest, TypedNumberInRangeMovesThePositionAndKeepsTheText)
{
    UpDown counter(QStringLiteral("ud_akarusa"), QStringLiteral("tx_akarusa"), -100, 100);
    Moves moved(counter);
    counter.edit()->setText(QStringLiteral("-35"));
    EXPECT_EQ(counter.position(), -35);
    EXPECT_EQ(moved.positions, std::vector<int>{-35});

    // "00" is a number: the counter moves to 0, the text stays as typed.
    counter.edit()->setText(QStringLiteral("00"));
    EXPECT_EQ(counter.position(), 0);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("00"));
}

TEST(UpDownTest, OtherTextStaysInTheFieldAndLeavesThePosition)
{
    UpDown counter(QStringLiteral("ud_komaYohaku"), QStringLiteral("tx_komaYohaku"), 0, 20);
    counter.setPosition(7);
    Moves moved(counter);
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("25"), QStringLiteral("-1"),
                                QStringLiteral("3.5"), QString()}) {
        counter.edit()->setText(text);
        EXPECT_EQ(counter.edit()->text(), text);
        EXPECT_EQ(counter.position(), 7) << text.toStdString();
    }
    EXPECT_TRUE(moved.positions.empty());
}

TEST(UpDownTest, ArrowsStepByOneWithinTheRange)
{
    UpDown counter(QStringLiteral("UpDown6"), QStringLiteral("tx_AL_yohaku"), 0, 20);
    counter.setPosition(19);
    arrow(counter, Qt::UpArrow)->click();
    EXPECT_EQ(counter.position(), 20);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("20"));
    arrow(counter, Qt::UpArrow)->click();
    EXPECT_EQ(counter.position(), 20);
    counter.setPosition(1);
    arrow(counter, Qt::DownArrow)->click();
    arrow(counter, Qt::DownArrow)->click();
    EXPECT_EQ(counter.position(), 0);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("0"));
}

TEST(UpDownTest, SteppingReplacesFreeTextFromTheLastPosition)
{
    UpDown counter(QStringLiteral("a"), QStringLiteral("b"), 0, 100);
    counter.setPosition(60);
    counter.edit()->setText(QStringLiteral("6x"));
    arrow(counter, Qt::UpArrow)->click();
    EXPECT_EQ(counter.position(), 61);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("61"));
}

TEST(UpDownTest, AnOutOfRangeNumberStepsFromTheNearestEnd)
{
    UpDown year(QStringLiteral("a"), QStringLiteral("b"), 1960, 2020);
    year.setPosition(1960);
    year.edit()->setText(QStringLiteral("2026"));
    arrow(year, Qt::DownArrow)->click();
    EXPECT_EQ(year.position(), 2019);
    year.edit()->setText(QStringLiteral("2026"));
    arrow(year, Qt::UpArrow)->click();
    EXPECT_EQ(year.position(), 2020);
}

TEST(UpDownTest, UpAndDownKeysInTheFieldStep)
{
    UpDown counter(QStringLiteral("a"), QStringLiteral("b"), -100, 100);
    pressKey(counter.edit(), Qt::Key_Up);
    pressKey(counter.edit(), Qt::Key_Up);
    EXPECT_EQ(counter.position(), 2);
    pressKey(counter.edit(), Qt::Key_Down);
    EXPECT_EQ(counter.position(), 1);
    EXPECT_EQ(counter.edit()->text(), QStringLiteral("1"));
}

TEST(UpDownTest, SignalsOnlyRealChanges)
{
    UpDown counter(QStringLiteral("a"), QStringLiteral("b"), 0, 20);
    Moves moved(counter);
    counter.setPosition(0);
    counter.setPosition(-5);
    EXPECT_TRUE(moved.positions.empty());
    counter.setPosition(5);
    counter.setPosition(5);
    EXPECT_EQ(moved.positions, std::vector<int>{5});
}

}  // namespace
