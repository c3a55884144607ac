#include "tav/core/ui/FileColumn.h"
#include "imgkit/ImgKit.h"
#include "platform/PlatformPaths.h"
#include "platform/Registry.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/catalog/CommentFile.h"
#include "tav/core/FolderWatcher.h"
#include "tav/core/ui/FolderPane.h"
#include "tav/core/ui/main.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

std::string names(const FileColumn& c)
{
    QStringList out;
    for (int row = 0; row < c.fileView()->topLevelItemCount(); ++row)
        out << c.fileView()->topLevelItem(row)->text(0) +
                   (c.fileView()->topLevelItem(row)->isSelected() ? "*" : "");
    return out.join(QLatin1Char(',')).toStdString();
}

class FileColumnTest : public ::testing::Test {
protected:
    void make(const QString& folder, const char* name,
              const QDateTime& written = QDateTime(QDate(2004, 1, 1), QTime(12, 0)))
    {
        QDir().mkpath(folder);
        QFile f(folder + QLatin1Char('/') + QString::fromUtf8(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
    void select(FileColumn& c, const QString& name)
    {
        for (QTreeWidgetItem* item : c.fileView()->findItems(name, Qt::MatchExactly))
            item->setSelected(true);
    }
    QTemporaryDir dir;
};

TEST_F(FileColumnTest, ShowsPicturesButNeitherCommentNorCatalogueFiles)
{
    make(dir.path(), "a.jpg");
    make(dir.path(), "a.tav");
    make(dir.path(), "__tavidx.dat");
    make(dir.path(), ".hidden.jpg");
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    FileColumn c;
    c.openFolder(dir.path());
    EXPECT_EQ(names(c), "a.jpg");
}

TEST_F(FileColumnTest, FilterMatchesWithoutRegardToCase)
{
    make(dir.path(), "a.jpg");
    make(dir.path(), "b.JPG");
    make(dir.path(), "c.bmp");
    FileColumn c;
    c.openFolder(dir.path());
    c.findChild<QComboBox*>(QStringLiteral("FilterComboBox1"))->setCurrentIndex(3);  // "JPG"
    EXPECT_EQ(names(c), "a.jpg,b.JPG");
}

TEST_F(FileColumnTest, SortingByDateKeepsTheSelection)
{
    make(dir.path(), "a.jpg", QDateTime(QDate(2003, 1, 1), QTime(0, 0)));
    make(dir.path(), "b.jpg", QDateTime(QDate(2001, 1, 1), QTime(0, 0)));
    make(dir.path(), "c.jpg", QDateTime(QDate(2003, 1, 1), QTime(0, 0)));
    FileColumn c;
    c.openFolder(dir.path());
    select(c, QStringLiteral("a.jpg"));
    auto* sort = c.findChild<QComboBox*>(QStringLiteral("cb_sort"));
    sort->setCurrentIndex(3);
    EXPECT_EQ(names(c), "c.jpg,a.jpg*,b.jpg");
    sort->setCurrentIndex(2);
    EXPECT_EQ(names(c), "b.jpg,a.jpg*,c.jpg");
    c.findChild<QTabBar*>(QStringLiteral("TabControl1"))->setCurrentIndex(2);
    EXPECT_EQ(names(c), "b.jpg,a.jpg*,c.jpg");
    EXPECT_EQ(c.fileView()->topLevelItem(0)->text(1).toStdString(), "1KB");
    EXPECT_EQ(c.fileView()->topLevelItem(0)->text(2).toStdString(), "2001/01/01 00:00");
}

TEST_F(FileColumnTest, DateOrderAfterAnotherOrderWasShown)
{
    make(dir.path(), "Aqua.jpg", QDateTime(QDate(2024, 5, 5), QTime(10, 0)));
    make(dir.path(), "Blinds.jpg", QDateTime(QDate(2020, 1, 2), QTime(12, 0)));
    make(dir.path(), "Storm.gif", QDateTime(QDate(2020, 1, 9), QTime(12, 0)));
    FileColumn c;
    auto* sort = c.findChild<QComboBox*>(QStringLiteral("cb_sort"));
    sort->setCurrentIndex(1);
    c.openFolder(dir.path());
    EXPECT_EQ(names(c), "Storm.gif,Blinds.jpg,Aqua.jpg");
    sort->setCurrentIndex(3);
    EXPECT_EQ(names(c), "Aqua.jpg,Storm.gif,Blinds.jpg");
}

TEST_F(FileColumnTest, TheSelectionFollowsANameIntoAnotherFolder)
{
    const QString one = dir.path() + QStringLiteral("/one");
    const QString two = dir.path() + QStringLiteral("/two");
    make(one, "IMG1.JPG");
    make(one, "IMG2.JPG");
    make(two, "IMG1.JPG");
    make(two, "img2.jpg");
    FileColumn c;
    c.openFolder(one);
    select(c, QStringLiteral("IMG1.JPG"));
    select(c, QStringLiteral("IMG2.JPG"));
    c.openFolder(two);
    EXPECT_EQ(names(c), "IMG1.JPG*,img2.jpg");  // names compare with case
    EXPECT_EQ(c.selectedPaths(), QStringList{two + QStringLiteral("/IMG1.JPG")});
}

TEST_F(FileColumnTest, RefreshDropsVanishedFilesAndKeepsTheRest)
{
    make(dir.path(), "a.jpg");
    make(dir.path(), "b.jpg");
    FileColumn c;
    c.openFolder(dir.path());
    select(c, QStringLiteral("b.jpg"));
    QFile::remove(dir.filePath(QStringLiteral("a.jpg")));
    make(dir.path(), "c.jpg");
    c.refresh();
    EXPECT_EQ(names(c), "b.jpg*,c.jpg");
}

// A tall folder list: the folder opened lies far below the first rows.
class FolderTreeTest : public FileColumnTest {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 80; ++i)
            QDir().mkpath(dir.filePath(QStringLiteral("d%1/inner").arg(i, 2, 10, QLatin1Char('0'))));
        target = dir.filePath(QStringLiteral("d70"));
        column.resize(220, 500);
        column.show();
        column.openFolder(target);
        tree = column.folderPane()->tree();
        model = static_cast<QFileSystemModel*>(tree->model());
    }
    bool inSight(const QString& folder) const
    {
        const QModelIndex index = model->index(folder);
        return tree->currentIndex() == index && tree->viewport()->rect().contains(tree->visualRect(index));
    }

    QString target;
    FileColumn column;
    QTreeView* tree = nullptr;
    QFileSystemModel* model = nullptr;
};

TEST_F(FolderTreeTest, ShowsTheCurrentFolderOnceReadAndThenStaysWhereTheUserScrolled)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return inSight(target); }, 10000));

    // The user scrolls to the top; the tree then re-reads the folders above the current one.
    tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    const int top = tree->verticalScrollBar()->value();
    emit model->directoryLoaded(dir.path());
    emit model->directoryLoaded(QStringLiteral("/"));
    QTest::qWait(50);
    EXPECT_EQ(tree->verticalScrollBar()->value(), top);
    EXPECT_FALSE(inSight(target));
}

TEST_F(FolderTreeTest, TheKeyboardOpensTheHighlightedFolderAfterAPause)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return inSight(target); }, 10000));
    QSignalSpy changed(&column, &FileColumn::folderChanged);
    column.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&column));
    tree->setFocus();
    const QString below = model->filePath(tree->indexBelow(tree->indexBelow(tree->currentIndex())));
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(column.currentFolder(), target);  // arrowing on reads nothing yet
    ASSERT_TRUE(QTest::qWaitFor([&] { return column.currentFolder() != target; }, 3000))
        << model->filePath(tree->currentIndex()).toStdString();
    EXPECT_EQ(column.currentFolder(), below);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FileColumnTest, FollowsTheDiskAndKeepsTheSelection)
{
    make(dir.path(), "a.jpg");
    make(dir.path(), "b.jpg");
    FileColumn c;
    c.openFolder(dir.path());
    select(c, QStringLiteral("b.jpg"));
    make(dir.path(), "c.jpg");
    QFile::remove(dir.filePath(QStringLiteral("a.jpg")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(c) == "b.jpg*,c.jpg"; }, 5000)) << names(c);

    // While a batch walks the view (busy mode disables it) the view stays as it is.
    c.fileView()->setEnabled(false);
    make(dir.path(), "d.jpg");
    QTest::qWait(3 * FolderWatcher::kSettleMs);
    EXPECT_EQ(names(c), "b.jpg*,c.jpg");
    c.fileView()->setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names(c) == "b.jpg*,c.jpg,d.jpg"; }, 5000)) << names(c);
}

TEST_F(FileColumnTest, CatalogueModeShowsAGridOfTheViewsItemsAndHidesTheCatalogueInAnyCase)
{
    make(dir.path(), "a.jpg");
    make(dir.path(), "b.jpg");
    make(dir.path(), "__TAVIDX.DAT");
    make(dir.path(), "b.TAV");
    FileColumn c;
    c.openFolder(dir.path());
    select(c, QStringLiteral("b.jpg"));
    c.findChild<QTabBar*>(QStringLiteral("TabControl1"))->setCurrentIndex(FileColumn::CatalogueView);
    QListView* grid = c.catalogueGrid();
    EXPECT_EQ(grid->viewMode(), QListView::IconMode);
    EXPECT_TRUE(grid->isVisibleTo(&c));
    EXPECT_FALSE(c.fileView()->isVisibleTo(&c));
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(names(c), "a.jpg,b.jpg*");
    // A selection made in the grid is the view's selection.
    grid->selectionModel()->select(grid->model()->index(0, 0), QItemSelectionModel::Select);
    EXPECT_EQ(c.selectedPaths(), QStringList({dir.filePath("a.jpg"), dir.filePath("b.jpg")}));
}

class MainWindowFilesTest : public FileColumnTest {
protected:
    void SetUp() override
    {
        qputenv(platform::kSandboxVariable, QFile::encodeName(dir.filePath(QStringLiteral("sandbox"))));
        registry = std::make_unique<platform::Registry>(dir.filePath(QStringLiteral("reg.sqlite3")));
        pictures = dir.path() + QStringLiteral("/pictures");
    }
    void TearDown() override { qunsetenv(platform::kSandboxVariable); }
    std::unique_ptr<TfrTav> window()
    {
        MainWindowEnvironment env;
        env.programFolder = dir.path() + QLatin1Char('/');
        env.registry = registry.get();
        env.openExternal = [](const QString&) { return true; };
        auto w = std::make_unique<TfrTav>(env);
        w->fileColumn()->openFolder(pictures);
        return w;
    }
    QString status(TfrTav& w) { return w.findChild<QLabel*>(QStringLiteral("msg"))->text(); }

    std::unique_ptr<platform::Registry> registry;
    QString pictures;
    platform::ScriptedPrompt prompt;
};

TEST_F(MainWindowFilesTest, StatusTextsForSelectionsAndAnEmptyFolder)
{
    QDir().mkpath(pictures);
    auto w = window();
    EXPECT_EQ(status(*w), QStringLiteral("0/0個のﾌｧｲﾙを選択しています。"));
    for (int i = 0; i < 12; ++i)
        make(pictures, QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')).toUtf8().constData());
    w->findChild<QAction*>(QStringLiteral("Refresh1"))->trigger();
    w->findChild<QAction*>(QStringLiteral("mnuSelectAll"))->trigger();
    EXPECT_EQ(status(*w), QStringLiteral("12/12個のﾌｧｲﾙを選択しています。"));
    w->findChild<QAction*>(QStringLiteral("mnuUnSel"))->trigger();
    EXPECT_EQ(status(*w), QStringLiteral("0/12個のﾌｧｲﾙを選択しています。"));
}

TEST_F(MainWindowFilesTest, DeleteMovesOnlyTheFirstSelectedFileToTheTrashAfterAsking)
{
    make(pictures, "a.jpg");
    make(pictures, "b.jpg");
    auto w = window();
    w->findChild<QAction*>(QStringLiteral("mnuSelectAll"))->trigger();

    prompt.answer(platform::Answer::No);
    w->findChild<QAction*>(QStringLiteral("mnuFileDel"))->trigger();
    EXPECT_TRUE(QFile::exists(pictures + QStringLiteral("/a.jpg")));

    prompt.answer(platform::Answer::Yes);
    w->findChild<QAction*>(QStringLiteral("mnuFileDel"))->trigger();
    EXPECT_FALSE(QFile::exists(pictures + QStringLiteral("/a.jpg")));
    EXPECT_TRUE(QFile::exists(pictures + QStringLiteral("/b.jpg")));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("sandbox/Trash/files/a.jpg"))));
    EXPECT_EQ(names(*w->fileColumn()), "b.jpg*");
    ASSERT_GE(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("'a.jpg' をごみ箱に移しますか?"));
}

TEST_F(MainWindowFilesTest, TheTitlesTabFollowsTheSelectedPicture)
{
    make(pictures, "a.jpg");
    make(pictures, "b.jpg");
    COMKATA record;
    record.title = QStringLiteral("ﾀｲﾄﾙ 夏");
    record.year = QStringLiteral("2001");
    record.month = QStringLiteral("5");
    record.day = QStringLiteral("3");
    ASSERT_EQ(WriteComment(pictures + QStringLiteral("/b.jpg"), record), 0);
    auto w = window();
    w->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(9);
    select(*w->fileColumn(), QStringLiteral("b.jpg"));
    EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("tx_ticomTitle"))->text(), QStringLiteral("ﾀｲﾄﾙ 夏"));
    EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("tx_ticomNen"))->text(), QStringLiteral("2001"));
}

TEST_F(MainWindowFilesTest, TheAdjustmentTabPreviewsTheFirstSelectedPicture)
{
    QDir().mkpath(pictures);
    ASSERT_EQ(ImgKitBmpFileSave(pictures + QStringLiteral("/a.bmp"), imgkit::DibHandle::create(64, 48, 24),
                                {}, {}, 0),
              1);
    auto w = window();
    auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(3);
    auto* refresh = w->findChild<QPushButton*>(QStringLiteral("btGazoCyoPV"));
    refresh->click();
    EXPECT_TRUE(
        prompt.texts().contains(QStringLiteral("ﾌｧｲﾙが選択されていないため、画像調整ﾌﾟﾚﾋﾞｭｰできません。")));
    select(*w->fileColumn(), QStringLiteral("a.bmp"));
    auto* preview = w->findChild<QLabel*>(QStringLiteral("pic2"));
    ASSERT_TRUE(preview);
    EXPECT_FALSE(preview->pixmap().isNull());
    EXPECT_FALSE(preview->isHidden());
}

}  // namespace
