#include "FileColumn.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

struct FilterEntry {
    const char* caption;
    const char* mask;
};
constexpr FilterEntry kFilters[] = {
    {"すべてのﾌｧｲﾙ (*.*)", "*"}, {"BMP", "*.BMP"}, {"TIF", "*.TIF"}, {"JPG", "*.JPG"}, {"GIF", "*.GIF"},
};

}  // namespace

QString fullPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

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
    m_viewModes->addTab(QStringLiteral("詳細"));
    layout->addWidget(m_viewModes);

    m_fileView = new QListWidget;
    m_fileView->setObjectName(QStringLiteral("file_list3"));
    m_fileView->setSelectionMode(QAbstractItemView::ExtendedSelection);
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

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { openFolder(m_drives->itemData(index).toString()); });
    connect(m_folders, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { openFolder(m_folderModel->filePath(index)); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, &FileColumn::refill);
    connect(m_sort, &QComboBox::currentIndexChanged, this, &FileColumn::refill);
    connect(m_fileView, &QListWidget::itemSelectionChanged, this, &FileColumn::selectionChanged);
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
        if (m_folder.startsWith(root) &&
            (drive < 0 || root.size() > m_drives->itemData(drive).toString().size()))
            drive = i;
    }
    m_drives->setCurrentIndex(drive);
    refill();
}

void FileColumn::showFolderInTree()
{
    const QModelIndex index = m_folderModel->index(m_folder);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_folders->expand(parent);
    m_folders->setCurrentIndex(index);
    m_folders->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FileColumn::refresh() { refill(); }

void FileColumn::refill()
{
    QStringList selected;
    for (const QListWidgetItem* item : m_fileView->selectedItems())
        selected << item->text();

    // Name filters match without regard to case, as "*.JPG" must match "a.jpg".
    QDir dir(m_folder);
    const QString mask = m_filter->currentData().toString();
    QStringList names = dir.entryList(QStringList{mask.isEmpty() ? QStringLiteral("*") : mask},
                                      QDir::Files, QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString& n) {
        return n.endsWith(QLatin1String(".tav"), Qt::CaseInsensitive) || n == QLatin1String("__tavidx.dat");
    });
    if (m_sort->currentIndex() == 1 || m_sort->currentIndex() == 3)
        std::reverse(names.begin(), names.end());

    m_fileList->clear();
    m_fileList->addItems(names);
    m_fileView->clear();
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, m_fileView);
        item->setSelected(selected.contains(name));
    }
    emit selectionChanged();
}

QStringList FileColumn::selectedPaths() const
{
    QStringList paths;
    for (int row = 0; row < m_fileView->count(); ++row)
        if (m_fileView->item(row)->isSelected())
            paths << fullPath(m_folder, m_fileView->item(row)->text());
    return paths;
}

int FileColumn::itemCount() const { return m_fileView->count(); }
int FileColumn::selectedCount() const { return static_cast<int>(m_fileView->selectedItems().size()); }
