#include "platform/Sjis.h"
#include "tav/core/ui/frmWanpo.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class HintWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        hintPath = dir.filePath(QStringLiteral("tavHint.txt"));
    }
    void writeHints(const QString& text)
    {
        QFile f(hintPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(platform::toSjis(text));
    }
    static QString tip(TfrWanpo* w)
    {
        return w->findChild<QPlainTextEdit*>(QStringLiteral("tx"))->toPlainText();
    }
    static void press(TfrWanpo* w, const char* name)
    {
        w->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }
    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    QString hintPath;
    AppSettings settings;
    QWidget owner;
    QPointer<TfrWanpo> window;
};

TEST_F(HintWindowTest, NextThreeTimesComesBackToTheFirstTipShown)
{
    writeHints(QStringLiteral("一つ目の技\r\n二つ目の技\r\n三つ目の技\r\n"));
    TfrWanpo* w = TfrWanpo::open(window, &owner, settings, hintPath);
    const QString first = tip(w);
    const QStringList all{QStringLiteral("一つ目の技"), QStringLiteral("二つ目の技"),
                          QStringLiteral("三つ目の技")};
    EXPECT_TRUE(all.contains(first)) << first.toStdString();
    QStringList seen{first};
    for (int i = 0; i < 3; ++i) {
        press(w, "btNe");
        seen << tip(w);
    }
    EXPECT_EQ(seen.last(), first);
    seen.removeLast();
    seen.sort();
    QStringList sorted = all;
    sorted.sort();
    EXPECT_EQ(seen, sorted);
    w->close();
    deleteClosed();
}

TEST_F(HintWindowTest, OpeningAgainOnlyRaisesTheWindowAndClosingReleasesIt)
{
    writeHints(QStringLiteral("a\nb\nc\nd\n"));
    TfrWanpo* w = TfrWanpo::open(window, &owner, settings, hintPath);
    EXPECT_EQ(window.data(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    press(w, "btNe");
    const QString shown = tip(w);
    EXPECT_EQ(TfrWanpo::open(window, &owner, settings, hintPath), w);
    EXPECT_EQ(tip(w), shown);
    EXPECT_EQ(owner.findChildren<TfrWanpo*>().size(), 1);

    press(w, "btClose");
    deleteClosed();
    EXPECT_TRUE(window.isNull());
    TfrWanpo* again = TfrWanpo::open(window, &owner, settings, hintPath);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(owner.findChildren<TfrWanpo*>().size(), 1);
    again->close();
    deleteClosed();
}

TEST_F(HintWindowTest, TheStartUpSwitchIsStoredOnClosing)
{
    writeHints(QStringLiteral("tip\n"));
    settings.showHintsAtStart = true;
    TfrWanpo* w = TfrWanpo::open(window, &owner, settings, hintPath);
    auto* box = w->findChild<QCheckBox*>(QStringLiteral("cb_showKidouzi"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    EXPECT_TRUE(settings.showHintsAtStart);  // only closing stores it
    w->close();  // the close box
    deleteClosed();
    EXPECT_FALSE(settings.showHintsAtStart);

    w = TfrWanpo::open(window, &owner, settings, hintPath);
    EXPECT_FALSE(w->findChild<QCheckBox*>(QStringLiteral("cb_showKidouzi"))->isChecked());
    w->findChild<QCheckBox*>(QStringLiteral("cb_showKidouzi"))->setChecked(true);
    press(w, "btClose");
    deleteClosed();
    EXPECT_TRUE(settings.showHintsAtStart);
}

TEST_F(HintWindowTest, MissingOrEmptyHintFileShowsNothing)
{
    TfrWanpo* w = TfrWanpo::open(window, &owner, settings, hintPath);
    EXPECT_EQ(tip(w), QString());
    press(w, "btNe");
    EXPECT_EQ(tip(w), QString());
    w->close();
    deleteClosed();

    writeHints(QString());
    w = TfrWanpo::open(window, &owner, settings, hintPath);
    press(w, "btNe");
    EXPECT_EQ(tip(w), QString());
    w->close();
    deleteClosed();
}

}  // namespace
