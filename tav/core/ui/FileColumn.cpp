#include "tav/core/ui/FileColumn.h"

#include "tav/core/AppSettings.h"
#include "tav/core/CommandHost.h"
#include "tav/core/FolderWatcher.h"
#include "tav/core/Fsort.h"
#include "tav/core/TextHelpers.h"
#include "tav/core/ui/FolderPane.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QPointer>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct FilterEntry {
    const char* caption;
    const char* mask;
};
constexpr FilterEntry kFilters[] = {
    {"すべてのﾌｧｲﾙ (*.*)", "*"}, {"BMP", "*.BMP"}, {"TIF", "*.TIF"}, {"JPG", "*.JPG"}, {"GIF", "*.GIF"},
};

constexpr int kInputIntervalMs = 30;
constexpr int kGridCellWidth = 84;
constexpr int kNameColumnMax = 320;

const QString kViewHint = QStringLiteral(
    "印刷したいﾌｧｲﾙをﾏｳｽで選択します. CTRLやShiftｷｰを押しながら選択すると、複数のﾌｧｲﾙが選択可能です.");

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

    m_folderPane = new FolderPane;
    layout->addWidget(m_folderPane, 2);

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
    m_fileView->setHeaderLabels(
        {QStringLiteral("ﾌｧｲﾙ名"), QStringLiteral("ｻｲｽﾞ"), QStringLiteral("更新日時")});
    m_fileView->setToolTip(kViewHint);
    m_fileView->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_fileView, 3);
    buildGrid();
    layout->addWidget(m_grid, 3);

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("file_list"));
    m_fileList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_fileList->setVisible(false);

    m_watcher = new FolderWatcher(this);
    // A batch walking the view, or a catalogue build, is never disturbed.
    m_watcher->setReady([this] { return !m_filling && m_fileView->isEnabled(); });

    m_folder = QDir::currentPath();
    TabControl1Change();

    connect(m_folderPane, &FolderPane::folderChosen, this, [this](const QString& folder) {
        openFolder(folder);
        emit folderChanged();
    });
    connect(m_filter, &QComboBox::currentIndexChanged, this, &FileColumn::readFolder);
    connect(m_sort, &QComboBox::currentIndexChanged, this, &FileColumn::cb_sortChange);
    connect(m_viewModes, &QTabBar::currentChanged, this, &FileColumn::TabControl1Change);
    connect(m_fileView, &QTreeWidget::itemSelectionChanged, this, &FileColumn::clicked);
    connect(m_fileView, &QTreeWidget::itemDoubleClicked, this, &FileColumn::itemActivated);
    connect(m_fileView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit popupRequested(m_fileView->viewport()->mapToGlobal(at)); });
    connect(m_watcher, &FolderWatcher::changed, this, &FileColumn::folderChangedOnDisk);
}

// The grid shows the file view's own items and selection, so every command
// that reads the view reads what the grid shows.
void FileColumn::buildGrid()
{
    m_grid = new QListView;
    m_grid->setObjectName(QStringLiteral("file_list3Grid"));
    m_grid->setModel(m_fileView->model());
    m_grid->setSelectionModel(m_fileView->selectionModel());
    m_grid->setViewMode(QListView::IconMode);
    m_grid->setMovement(QListView::Static);
    m_grid->setResizeMode(QListView::Adjust);
    m_grid->setWrapping(true);
    m_grid->setWordWrap(true);
    m_grid->setTextElideMode(Qt::ElideMiddle);
    m_grid->setUniformItemSizes(true);
    m_grid->setIconSize(QSize(kThumbnailSize, kThumbnailSize));
    m_grid->setGridSize(QSize(kGridCellWidth, kThumbnailSize + 2 * fontMetrics().height() + 12));
    m_grid->setSpacing(2);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setToolTip(kViewHint);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setVisible(false);
    connect(m_grid, &QListView::doubleClicked, this, &FileColumn::itemActivated);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit popupRequested(m_grid->viewport()->mapToGlobal(at)); });
    // Busy mode disables the file view by name; the grid follows it.
    m_fileView->installEventFilter(this);
}

bool FileColumn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_fileView && event->type() == QEvent::EnabledChange)
        m_grid->setEnabled(m_fileView->isEnabled());
    return QWidget::eventFilter(watched, event);
}

void FileColumn::openFolder(const QString& folder)
{
    m_folder = QDir::cleanPath(QDir(folder).absolutePath());
    m_folderPane->showFolder(m_folder);
    readFolder();
}

void FileColumn::folderChangedOnDisk()
{
    if (!QFileInfo(m_folder).isDir())
        return;
    // A catalogue refill passes through busy mode, which would take the
    // focus from a field the user is typing in: it goes back afterwards.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    readFolder();
    if (focus && focus->isEnabled() && !focus->hasFocus())
        focus->setFocus();
    emit clicked();
}

QStringList FileColumn::recentFolders() const { return m_folderPane->recentFolders(); }
void FileColumn::setRecentFolders(const QStringList& folders) { m_folderPane->setRecentFolders(folders); }

void FileColumn::refresh() { readFolder(); }

// file_list takes the folder's names matching the mask: files only, no
// hidden ones. Its change refills the view.
void FileColumn::readFolder()
{
    // Name filters match without regard to case, as "*.JPG" must match "a.jpg".
    const QString mask = m_filter->currentData().toString();
    m_fileList->clear();
    m_fileList->addItems(QDir(m_folder).entryList(QStringList{mask}, QDir::Files, QDir::Name));
    m_watcher->watch(m_folder);
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
    const bool catalogue = viewMode() == CatalogueView;
    m_fileView->setVisible(!catalogue);
    m_grid->setVisible(catalogue);
    m_fileView->setHeaderHidden(!detail);
    m_fileView->setColumnHidden(1, !detail);
    m_fileView->setColumnHidden(2, !detail);
    // Names show whole (up to a limit) and size and date beside them; a narrow
    // column scrolls sideways, a widened one shows the whole row.
    m_fileView->header()->setStretchLastSection(false);
    m_fileView->header()->setSectionResizeMode(0, detail ? QHeaderView::Interactive : QHeaderView::Stretch);
    m_fileView->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_fileView->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
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
        if (isCatalogueFileName(name))
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
    if (detail) {
        m_fileView->resizeColumnToContents(0);
        m_fileView->header()->resizeSection(0, std::min(kNameColumnMax, m_fileView->columnWidth(0)));
    }
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
        },
        makeThumbnailAhead);
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
