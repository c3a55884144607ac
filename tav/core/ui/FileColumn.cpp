#include "FileColumn.h"

#include "AppSettings.h"
#include "CommandHost.h"
#include "Fsort.h"
#include "TextHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QStorageInfo>
#include <QTabBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct FilterEntry {
    const char* caption;
    const char* mask;
};
constexpr FilterEntry kFilters[] = {
    {"すべてのﾌｧｲﾙ (*.*)", "*"}, {"BMP", "*.BMP"}, {"TIF", "*.TIF"}, {"JPG", "*.JPG"}, {"GIF", "*.GIF"},
};

constexpr int kInputIntervalMs = 30;

QString sizeText(qint64 bytes)
{
    return QStringLiteral("%1KB").arg(QLocale::c().toString((bytes + 1023) / 1024));
}

// The catalogue build as a batch of the main window the column sits in
// (busy mode, status line, gauge); a column on its own has none of them.
// Items wait in `pending` and reach the view whenever input runs, at most
// every kInputIntervalMs, so that a folder of known thumbnails fills in a
// few view updates while a slow decode still shows each picture.
class ViewFillHost : public BatchHost {
public:
    ViewFillHost(BatchHost* window, QTreeWidget* view) : m_window(window), m_view(view) { m_clock.start(); }

    void add(QTreeWidgetItem* item) { m_pending << item; }
    void flush()
    {
        m_view->addTopLevelItems(m_pending);
        m_pending.clear();
    }

    void setBusy(bool on) override
    {
        if (m_window)
            m_window->setBusy(on);
    }
    void setStatus(const QString& text) override
    {
        if (m_window)
            m_window->setStatus(text);
    }
    void setGaugeMaximum(int maximum) override
    {
        if (m_window)
            m_window->setGaugeMaximum(maximum);
    }
    void setGauge(int value) override
    {
        if (m_window)
            m_window->setGauge(value);
    }
    void processWaitingInput() override
    {
        if (m_clock.elapsed() < kInputIntervalMs)
            return;
        flush();
        if (m_window)
            m_window->processWaitingInput();
        else
            QCoreApplication::processEvents();
        m_clock.restart();
    }

private:
    BatchHost* m_window;
    QTreeWidget* m_view;
    QList<QTreeWidgetItem*> m_pending;
    QElapsedTimer m_clock;
};

}  // namespace

FileColumn::FileColumn(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    m_drives = new QComboBox;
    m_drives->setObjectName(QStringLiteral("dr_list"));
    layout->addWidget(m_drives);

    m_folderModel = new QFileSystemModel(this);
    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folderModel->setRootPath(QStringLiteral("/"));
    m_folders = new QTreeView;
    m_folders->setObjectName(QStringLiteral("dir_list"));
    m_folders->setModel(m_folderModel);
    for (int column = 1; column < m_folderModel->columnCount(); ++column)
        m_folders->hideColumn(column);
    m_folders->header()->hide();
    layout->addWidget(m_folders, 2);

    m_filter = new QComboBox;
    m_filter->setObjectName(QStringLiteral("FilterComboBox1"));
    for (const FilterEntry& f : kFilters)
        m_filter->addItem(QString::fromUtf8(f.caption), QString::fromLatin1(f.mask));
    layout->addWidget(m_filter);

    auto* sortRow = new QHBoxLayout;
    sortRow->addWidget(new QLabel(QStringLiteral("ｿｰﾄ：")));
    m_sort = new QComboBox;
    m_sort->setObjectName(QStringLiteral("cb_sort"));
    m_sort->addItems({QStringLiteral("ﾌｧｲﾙ名(昇順)"), QStringLiteral("ﾌｧｲﾙ名(降順)"),
                      QStringLiteral("ﾌｧｲﾙ日付(昇順)"), QStringLiteral("ﾌｧｲﾙ日付(降順)")});
    sortRow->addWidget(m_sort, 1);
    layout->addLayout(sortRow);

    m_viewModes = new QTabBar;
    m_viewModes->setObjectName(QStringLiteral("TabControl1"));
    m_viewModes->addTab(QStringLiteral("標準"));
    m_viewModes->setTabData(0, ListView);
    m_viewModes->addTab(QStringLiteral("ｶﾀﾛｸﾞ"));
    m_viewModes->setTabData(1, CatalogueView);
    m_viewModes->addTab(QStringLiteral("詳細"));
    m_viewModes->setTabData(2, DetailView);
    layout->addWidget(m_viewModes);

    m_fileView = new QTreeWidget;
    m_fileView->setObjectName(QStringLiteral("file_list3"));
    m_fileView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_fileView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_fileView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileView->setRootIsDecorated(false);
    m_fileView->setUniformRowHeights(true);
    m_fileView->setColumnCount(3);
    m_fileView->setHeaderLabels({QStringLiteral("ﾌｧｲﾙ名"), QStringLiteral("ｻｲｽﾞ"), QStringLiteral("更新日時")});
    m_fileView->setToolTip(QStringLiteral(
        "印刷したいﾌｧｲﾙをﾏｳｽで選択します. CTRLやShiftｷｰを押しながら選択すると、複数のﾌｧｲﾙが選択可能です."));
    m_fileView->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_fileView, 3);

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("file_list"));
    m_fileList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_fileList->setVisible(false);

    fillDrives();
    m_folder = QDir::currentPath();
    TabControl1Change();

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { openFolder(m_drives->itemData(index).toString()); });
    connect(m_folders, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        openFolder(m_folderModel->filePath(index));
        emit folderChanged();
    });
    connect(m_filter, &QComboBox::currentIndexChanged, this, &FileColumn::readFolder);
    connect(m_sort, &QComboBox::currentIndexChanged, this, &FileColumn::cb_sortChange);
    connect(m_viewModes, &QTabBar::currentChanged, this, &FileColumn::TabControl1Change);
    connect(m_fileView, &QTreeWidget::itemSelectionChanged, this, &FileColumn::clicked);
    // The tree reads folders in the background: show the current one once its parents are in.
    connect(m_folderModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (m_folder.startsWith(loaded))
            showFolderInTree();
    });
}

void FileColumn::fillDrives()
{
    // The home folder first, then every mounted file system the user can read.
    const QString home = QDir::homePath();
    m_drives->addItem(home, home);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isReadable())
            continue;
        if (m_drives->findData(volume.rootPath()) < 0)
            m_drives->addItem(volume.rootPath(), volume.rootPath());
    }
}

void FileColumn::openFolder(const QString& folder)
{
    m_folder = QDir(folder).absolutePath();
    showFolderInTree();
    int drive = -1;
    for (int i = 0; i < m_drives->count(); ++i) {
        const QString root = m_drives->itemData(i).toString();
        const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        const bool inside = m_folder == root || m_folder.startsWith(prefix);
        if (inside && (drive < 0 || root.size() > m_drives->itemData(drive).toString().size()))
            drive = i;
    }
    m_drives->setCurrentIndex(drive);
    readFolder();
}

void FileColumn::showFolderInTree()
{
    const QModelIndex index = m_folderModel->index(m_folder);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_folders->expand(parent);
    m_folders->setCurrentIndex(index);
    m_folders->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FileColumn::refresh() { readFolder(); }

// file_list takes the folder's names matching the mask: files only, no
// hidden ones. Its change refills the view.
void FileColumn::readFolder()
{
    // Name filters match without regard to case, as "*.JPG" must match "a.jpg".
    const QString mask = m_filter->currentData().toString();
    m_fileList->clear();
    m_fileList->addItems(QDir(m_folder).entryList(QStringList{mask}, QDir::Files, QDir::Name));
    file_listChange();
}

void FileColumn::file_listChange()
{
    cb_sortChange();
    emit contentChanged();
}

void FileColumn::cb_sortChange()
{
    QStringList names;
    names.reserve(m_fileList->count());
    for (int row = 0; row < m_fileList->count(); ++row)
        names << m_fileList->item(row)->text();
    m_sortedNames = SortFileNames(true, m_sort->currentIndex(), names, m_folder);
    RefreshFileView();
}

FileColumn::ViewMode FileColumn::viewMode() const
{
    return static_cast<ViewMode>(m_viewModes->tabData(m_viewModes->currentIndex()).toInt());
}

void FileColumn::TabControl1Change()
{
    const bool detail = viewMode() == DetailView;
    m_fileView->setIconSize(viewMode() == CatalogueView ? QSize(kThumbnailSize, kThumbnailSize) : QSize());
    m_fileView->setHeaderHidden(!detail);
    m_fileView->setColumnHidden(1, !detail);
    m_fileView->setColumnHidden(2, !detail);
    m_fileView->header()->setSectionResizeMode(0, detail ? QHeaderView::Interactive : QHeaderView::Stretch);
    RefreshFileView();
}

// Saves the view's selection, by name, into file_list's selection.
void FileColumn::selectBk()
{
    if (m_fileView->topLevelItemCount() == 0)
        return;
    m_fileList->clearSelection();
    for (const QTreeWidgetItem* item : m_fileView->selectedItems()) {
        const QList<QListWidgetItem*> same =
            m_fileList->findItems(item->text(0), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!same.isEmpty())
            same.first()->setSelected(true);
    }
}

void FileColumn::selectRst()
{
    for (int row = 0; row < m_fileList->count(); ++row) {
        if (!m_fileList->item(row)->isSelected())
            continue;
        const QList<QTreeWidgetItem*> same =
            m_fileView->findItems(m_fileList->item(row)->text(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!same.isEmpty())
            same.first()->setSelected(true);
    }
}

void FileColumn::RefreshFileView()
{
    if (m_filling) {
        m_refillPending = true;
        return;
    }
    if (viewMode() == CatalogueView) {
        fillCatalogue();
        return;
    }
    selectBk();
    const QSignalBlocker quiet(m_fileView);
    m_fileView->setUpdatesEnabled(false);
    m_fileView->clear();
    const bool detail = !m_fileView->isHeaderHidden();
    QList<QTreeWidgetItem*> items;
    items.reserve(m_sortedNames.size());
    for (const QString& name : m_sortedNames) {
        if (name == QLatin1String(kCatalogueFileName))
            continue;
        const QFileInfo info(fullPath(m_folder, name));
        if (!info.exists())
            continue;
        auto* item = new QTreeWidgetItem(QStringList{name});
        if (detail) {
            item->setText(1, sizeText(info.size()));
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            item->setText(2, FormatDateTimeAnyYear(QStringLiteral("yyyy/mm/dd hh:nn"), info.lastModified()));
        }
        items << item;
    }
    m_fileView->addTopLevelItems(items);
    selectRst();
    m_fileView->setUpdatesEnabled(true);
}

// Builds the folder's thumbnails as a batch; with `showItems` each becomes
// the icon of a new item of the view as it comes.
void FileColumn::buildCatalogue(bool showItems)
{
    auto* window = dynamic_cast<CommandHost*>(this->window());
    const QString gvPath = window ? window->settings().gvPath : QString();
    ViewFillHost host(window, m_fileView);
    m_filling = true;
    m_catalogue.fill(
        host, m_folder, m_sortedNames, [&gvPath](const QString& path) { return makeThumbnail(path, gvPath); },
        [showItems, &host](const QString& name, const QImage& thumbnail) {
            if (!showItems)
                return;
            auto* item = new QTreeWidgetItem(QStringList{name});
            item->setIcon(0, QIcon(QPixmap::fromImage(thumbnail)));
            host.add(item);
        });
    host.flush();
    m_filling = false;
}

void FileColumn::fillCatalogue()
{
    selectBk();
    {
        const QSignalBlocker quiet(m_fileView);
        m_fileView->clear();
        buildCatalogue(true);
        selectRst();
    }
    if (m_refillPending) {
        m_refillPending = false;
        RefreshFileView();
    }
}

void FileColumn::saveCatalogue()
{
    if (m_filling)
        return;
    if (m_catalogue.lastFolder() != m_folder)
        buildCatalogue(false);
    // An empty folder has no thumbnails of its own to write.
    if (m_catalogue.lastFolder() == m_folder)
        m_catalogue.save(m_folder);
}

QStringList FileColumn::selectedPaths() const
{
    QStringList paths;
    for (int row = 0; row < m_fileView->topLevelItemCount(); ++row)
        if (m_fileView->topLevelItem(row)->isSelected())
            paths << fullPath(m_folder, m_fileView->topLevelItem(row)->text(0));
    return paths;
}

int FileColumn::itemCount() const { return m_fileView->topLevelItemCount(); }
int FileColumn::selectedCount() const { return static_cast<int>(m_fileView->selectedItems().size()); }

void FileColumn::selectAll()
{
    if (itemCount() > 0)
        m_fileView->selectAll();
    emit clicked();
}

void FileColumn::selectNone()
{
    if (itemCount() > 0)
        m_fileView->clearSelection();
    emit clicked();
}

void FileColumn::invertSelection()
{
    const QSignalBlocker quiet(m_fileView);
    for (int row = 0; row < itemCount(); ++row)
        m_fileView->topLevelItem(row)->setSelected(!m_fileView->topLevelItem(row)->isSelected());
    emit clicked();
}
