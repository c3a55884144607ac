// Pictures decoded ahead of a batch: results in order with bounded memory,
// nothing written after a confirmed stop, and what the user sees about an
// unreadable picture still shown in its turn on the user-interface thread.
#include "tav/catalog/Convert.h"
#include "tav/core/Prefetcher.h"
#include "tav/imaging/DibFetcher.h"
#include "tav/tests/FakePrintHost.h"

#include <QFile>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

TEST(PrefetcherTest, ResultsComeInOrderWithNoMoreThanTheWindowHeldAndTheRestDropped)
{
    std::atomic<int> alive{0};
    std::atomic<int> mostAlive{0};
    QStringList paths;
    for (int i = 0; i < 12; ++i)
        paths << QString::number(i);
    {
        Prefetcher<std::shared_ptr<int>> ahead(
            paths,
            [&](const QString& path) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                const int now = ++alive;
                for (int seen = mostAlive; now > seen && !mostAlive.compare_exchange_weak(seen, now);) {}
                return std::shared_ptr<int>(new int(path.toInt()), [&alive](int* p) {
                    --alive;
                    delete p;
                });
            },
            2);
        for (int i = 0; i < 8; ++i) {
            if (i == 5)
                continue;  // passed over: dropped when 6 is taken
            const std::optional<std::shared_ptr<int>> result = ahead.take(QString::number(i));
            ASSERT_TRUE(result && *result);
            EXPECT_EQ(**result, i);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));  // the batch's own work
        }
        // A path the list no longer holds is worked on at once and drops nothing.
        EXPECT_EQ(**ahead.take(QStringLiteral("3")), 3);
        EXPECT_EQ(**ahead.take(QStringLiteral("8")), 8);
    }
    // The one in hand and two ahead, never more; nothing left once the prefetcher is gone.
    EXPECT_LE(mostAlive.load(), 3);
    EXPECT_EQ(alive.load(), 0);
}

class PrefetchedConvertTest : public PrintHostTest {
protected:
    void SetUp() override
    {
        PrintHostTest::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        out = QDir(dir.path()).filePath(QStringLiteral("out"));
        host.tabs.checks[QStringLiteral("rb_bmp")] = true;
        host.tabs.texts[QStringLiteral("tx_outW")] = QStringLiteral("320");
        host.tabs.texts[QStringLiteral("tx_outH")] = QStringLiteral("240");
        host.tabs.texts[QStringLiteral("tx_out_path")] = out;
    }

    QStringList written() const { return QDir(out).entryList(QDir::Files | QDir::Hidden); }

    QString out;
};

TEST_F(PrefetchedConvertTest, AConfirmedStopWritesNothingMoreThoughLaterPicturesWereDecoded)
{
    for (int i = 1; i <= 6; ++i)
        addPicture(QStringLiteral("p%1.bmp").arg(i), 400, 300);
    int processed = 0;
    host.waitingInput = [&] { AbortRequested = ++processed == 2; };
    prompt.answer(platform::Answer::Yes);
    ConvertSelection(host);

    EXPECT_EQ(written(), (QStringList{QStringLiteral("p1.bmp"), QStringLiteral("p2.bmp")}));
    EXPECT_EQ(prompt.messages().first(), QStringLiteral("本当に変換を中断してよろしいですか？"));
    // Still nothing once any decoding left running would have ended.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(written().size(), 2);
}

// GV, asked for what the library cannot read, tells the user about it.
class TellingFetcher : public DibFetcher {
public:
    explicit TellingFetcher(const QStringList& status) : m_status(status) {}
    imgkit::DibHandle fetch(const QString& fullPath) override
    {
        onUiThread = std::this_thread::get_id() == m_uiThread;
        statusWhenAsked = m_status.last();
        platform::showInformation(QStringLiteral("GV: ") + QFileInfo(fullPath).fileName());
        return {};
    }
    bool onUiThread = false;
    QString statusWhenAsked;

private:
    const QStringList& m_status;
    std::thread::id m_uiThread = std::this_thread::get_id();
};

TEST_F(PrefetchedConvertTest, AnUnreadablePictureIsToldAboutInItsTurnOnTheUserInterfaceThread)
{
    addPicture(QStringLiteral("a.bmp"), 400, 300);
    QFile broken(QDir(dir.path()).filePath(QStringLiteral("b.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("not a picture at all") > 0);
    broken.close();
    host.selected << broken.fileName();
    addPicture(QStringLiteral("c.bmp"), 400, 300);
    host.app.gvPath = QStringLiteral("/opt/gv/gv");
    TellingFetcher gv(host.status);
    SetGvFetcher(&gv);
    ConvertSelection(host);
    SetGvFetcher(nullptr);

    EXPECT_TRUE(gv.onUiThread);
    EXPECT_EQ(gv.statusWhenAsked, QStringLiteral("b.jpgを変換中です。(ESCｷｰで中断できます)"));
    EXPECT_EQ(prompt.messages(), (QStringList{QStringLiteral("GV: b.jpg"), QStringLiteral("変換完了。")}));
    EXPECT_EQ(written(), (QStringList{QStringLiteral("a.bmp"), QStringLiteral("c.bmp")}));
}

}  // namespace
