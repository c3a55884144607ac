// The folder catalogue: the file format, the keys, and the build that decodes
// only pictures without a matching thumbnail.
#include "platform/tests/ScriptedPrompt.h"
#include "tav/catalog/CatalogueCache.h"
#include "tav/core/RunState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QImage cellOfColour(QRgb colour)
{
    QImage cell(kThumbnailSize, kThumbnailSize, QImage::Format_RGB888);
    cell.fill(colour);
    cell.setPixel(0, 0, qRgb(1, 2, 3));  // tells rows and sides apart
    cell.setPixel(kThumbnailSize - 1, kThumbnailSize - 1, qRgb(250, 251, 252));
    return cell;
}

CatalogueData sample(int count)
{
    CatalogueData data;
    for (int i = 0; i < count; ++i) {
        data.thumbnails << cellOfColour(qRgb(10 * i, 255 - 10 * i, 7 * i));
        data.keys << QStringLiteral("写真%1 Café😀.jpg_010203040506").arg(i);
    }
    return data;
}

class QuietHost : public BatchHost {
public:
    void setBusy(bool on) override { busy << on; }
    void setStatus(const QString& text) override { statuses << text; }
    void setGaugeMaximum(int) override {}
    void setGauge(int value) override { gauge << value; }
    void processWaitingInput() override {}
    QList<bool> busy;
    QList<int> gauge;
    QStringList statuses;
};

TEST(CatalogueFileTest, WhatIsWrittenReadsBackThumbnailForThumbnail)
{
    for (int count : {0, 1, 5, 9}) {
        const CatalogueData data = sample(count);
        const QByteArray bytes = serializeCatalogue(data);
        EXPECT_EQ(bytes.left(8), QByteArray("\x01\0\0\0\x30\0\0\0", 8));
        EXPECT_EQ(bytes.mid(8, 15), QByteArray("TPF0\x0ATImageList", 15));
        const CatalogueReadResult read = parseCatalogue(bytes);
        ASSERT_EQ(read.status, CatalogueReadStatus::Read) << count;
        EXPECT_EQ(read.data.keys, data.keys);
        ASSERT_EQ(read.data.thumbnails.size(), count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(read.data.thumbnails[i], data.thumbnails[i]) << i;
        EXPECT_EQ(serializeCatalogue(read.data), bytes);  // stable
    }
    // Names outside Shift-JIS are kept as numeric references.
    EXPECT_TRUE(
        serializeCatalogue(sample(2)).endsWith(QByteArray(" Caf&#xE9;&#x1F600;.jpg_010203040506\r\n")));
}

TEST(CatalogueFileTest, OtherVersionsAreIgnoredAndDamagedFilesRejected)
{
    const QByteArray good = serializeCatalogue(sample(5));
    QByteArray otherVersion = good;
    otherVersion[0] = 2;
    EXPECT_EQ(parseCatalogue(otherVersion).status, CatalogueReadStatus::Ignored);
    QByteArray otherSize = good;
    otherSize[4] = 32;
    EXPECT_EQ(parseCatalogue(otherSize).status, CatalogueReadStatus::Ignored);

    // Every truncation, a lying length of the bitmap property, a count of
    // keys that does not match the images, a huge image count.
    for (qsizetype size = 0; size < good.size(); size += size < 300 ? 1 : 509)
        EXPECT_EQ(parseCatalogue(good.left(size)).status, CatalogueReadStatus::Malformed) << size;
    const qsizetype lengthAt = good.indexOf("Bitmap") + 7;
    QByteArray lying = good;
    lying[lengthAt + 3] = char(0x7F);
    EXPECT_EQ(parseCatalogue(lying).status, CatalogueReadStatus::Malformed);
    EXPECT_EQ(parseCatalogue(good + "extra_key\r\n").status, CatalogueReadStatus::Malformed);
    QByteArray manyImages = good;
    manyImages[lengthAt + 4 + 4] = char(0xFF);
    manyImages[lengthAt + 4 + 5] = char(0x7F);
    EXPECT_EQ(parseCatalogue(manyImages).status, CatalogueReadStatus::Malformed);
}

TEST(CatalogueFileTest, KeysAreNameAndLastWriteTime)
{
    EXPECT_EQ(catalogueKey(QStringLiteral("a.jpg"), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6))),
              QStringLiteral("a.jpg_010203040506"));
    EXPECT_EQ(catalogueKey(QStringLiteral("a.jpg"), QDateTime()), QStringLiteral("a.jpg_            "));
}

class CatalogueCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AbortRequested = false;
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
            touch(QString::fromLatin1(name), QDateTime(QDate(2020, 1, 1), QTime(12, 0)));
    }
    void touch(const QString& name, const QDateTime& time)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.flush();
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    QStringList fill(CatalogueCache& cache)
    {
        QStringList shown;
        cache.fill(host, dir.path(), names, maker,
                   [&shown](const QString& name, const QImage&) { shown << name; });
        return shown;
    }
    QByteArray catalogueBytes() const
    {
        QFile file(dir.filePath(QString::fromLatin1(kCatalogueFileName)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QStringList names{QStringLiteral("c.jpg"), QStringLiteral("__tavidx.dat"), QStringLiteral("gone.jpg"),
                      QStringLiteral("a.jpg"), QStringLiteral("b.jpg")};
    QStringList decoded;
    ThumbnailMaker maker = [this](const QString& path) {
        decoded << QFileInfo(path).fileName();
        return cellOfColour(qRgb(int(decoded.size()) * 20, 0, 0));
    };
    QuietHost host;
    platform::ScriptedPrompt prompt;
};

TEST_F(CatalogueCacheTest, DecodesOnlyPicturesWithoutAMatchingThumbnail)
{
    CatalogueCache first;
    EXPECT_EQ(fill(first), QStringList({"c.jpg", "a.jpg", "b.jpg"}));
    EXPECT_EQ(decoded, QStringList({"c.jpg", "a.jpg", "b.jpg"}));
    // The build's text while it runs, and an empty status line after it, as every batch leaves it.
    EXPECT_EQ(host.statuses,
              QStringList({QStringLiteral("ｶﾀﾛｸﾞを作成しています。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)"),
                           QString()}));
    EXPECT_EQ(host.busy, QList<bool>({true, false}));
    EXPECT_EQ(host.gauge, QList<int>({0, 20, 80, 100, 0}));
    ASSERT_TRUE(first.save(dir.path()));

    // The same folder again reuses the thumbnails in memory, without the file.
    QFile::resize(dir.filePath(QString::fromLatin1(kCatalogueFileName)), 20);
    decoded.clear();
    fill(first);
    EXPECT_TRUE(decoded.isEmpty());
    EXPECT_TRUE(prompt.messages().isEmpty());
    ASSERT_TRUE(first.save(dir.path()));

    // Another visit reads the file; the touched picture alone is decoded and
    // the next save holds its new key only.
    touch(QStringLiteral("b.jpg"), QDateTime(QDate(2021, 5, 6), QTime(7, 8, 9)));
    CatalogueCache second;
    const QImage storedA = first.data().thumbnails[1];
    decoded.clear();
    fill(second);
    EXPECT_EQ(decoded, QStringList({"b.jpg"}));
    EXPECT_EQ(second.data().thumbnails[1], storedA);
    ASSERT_TRUE(second.save(dir.path()));
    EXPECT_EQ(parseCatalogue(catalogueBytes()).data.keys,
              QStringList({"c.jpg_200101120000", "a.jpg_200101120000", "b.jpg_210506070809"}));
}

TEST_F(CatalogueCacheTest, DamagedOrForeignCatalogueIsNotUsed)
{
    QFile file(dir.filePath(QString::fromLatin1(kCatalogueFileName)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(serializeCatalogue(sample(3)).left(100));
    file.close();
    CatalogueCache cache;
    EXPECT_EQ(fill(cache).size(), 3);  // reported, then built from the pictures
    EXPECT_EQ(prompt.messages(), QStringList({"E:ｶﾀﾛｸﾞは作成できませんでした。(read)"}));
    EXPECT_EQ(decoded.size(), 3);

    QByteArray foreign = serializeCatalogue(sample(3));
    foreign[0] = 2;
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(foreign);
    file.close();
    prompt.clear();
    decoded.clear();
    CatalogueCache again;
    fill(again);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(decoded.size(), 3);
}

TEST_F(CatalogueCacheTest, StopQuestionEndsOrContinuesTheBuild)
{
    prompt.onPrompt = [this](const platform::PromptRecord&) { prompt.answer(platform::Answer::No); };
    AbortRequested = true;  // cleared at the start: no question
    CatalogueCache cache;
    cache.fill(host, dir.path(), names, maker, [](const QString& name, const QImage&) {
        if (name == QLatin1String("a.jpg"))
            AbortRequested = true;
    });
    EXPECT_EQ(prompt.messages(), QStringList({"ｶﾀﾛｸﾞ表示を中止してよろしいですか？"}));
    EXPECT_EQ(cache.data().keys.size(), 3);  // No: went on

    prompt.onPrompt = [this](const platform::PromptRecord&) { prompt.answer(platform::Answer::Yes); };
    decoded.clear();
    CatalogueCache stopped;
    EXPECT_EQ(stopped.fill(host, dir.path(), names, maker,
                           [](const QString&, const QImage&) { AbortRequested = true; }),
              CatalogueFill::Stopped);
    EXPECT_EQ(stopped.data().keys.size(), 1);
}

// A write that runs out of room (the file-size limit stands in for a full
// disk) is reported and leaves the old catalogue as it was.
TEST_F(CatalogueCacheTest, FailedSaveKeepsTheOldCatalogue)
{
    CatalogueCache cache;
    fill(cache);
    ASSERT_TRUE(cache.save(dir.path()));
    const QByteArray before = catalogueBytes();
    touch(QStringLiteral("d.jpg"), QDateTime(QDate(2020, 1, 2), QTime(0, 0)));
    names << QStringLiteral("d.jpg");
    fill(cache);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = cache.save(dir.path());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(prompt.messages(), QStringList({"E:ｶﾀﾛｸﾞは保存できませんでした.(ﾃﾞｨｽｸに書き込めません)"}));
    EXPECT_EQ(catalogueBytes(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);  // no temporary left
}

}  // namespace
