#include "tav/core/ui/FolderPane.h"

#include "platform/Prompt.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QFileSystemModel* folderModel(QObject* parent)
{
    auto* model = new QFileSystemModel(parent);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model->setRootPath(QStringLiteral("/"));
    return model;
}

// "~" and "~/..." as the home folder; a folder as the browser keeps it.
QString typedFolder(const QString& text)
{
    QString path = text.trimmed();
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    return path.isEmpty() ? path : QDir::cleanPath(QDir(path).absolutePath());
}

bool inside(const QString& folder, const QString& root)
{
    return folder == root ||
           folder.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

}  // namespace

FolderPane::FolderPane(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    m_drives = new QComboBox;
    m_drives->setObjectName(QStringLiteral("dr_list"));
    // Long folder names of the recent list must not widen the column.
    m_drives->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_drives->setMinimumContentsLength(8);
    layout->addWidget(m_drives);

    m_path = new QLineEdit;
    m_path->setObjectName(QStringLiteral("tx_dirPath"));
    m_path->setToolTip(QStringLiteral("開きたいﾌｫﾙﾀﾞのﾊﾟｽを入力してEnterｷｰを押します。"));
    auto* completer = new QCompleter(folderModel(this), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_path->setCompleter(completer);
    layout->addWidget(m_path);

    m_model = folderModel(this);
    m_tree = new QTreeView;
    m_tree->setObjectName(QStringLiteral("dir_list"));
    m_tree->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->header()->hide();
    layout->addWidget(m_tree, 1);

    m_keyboardPause = new QTimer(this);
    m_keyboardPause->setSingleShot(true);
    m_keyboardPause->setInterval(kKeyboardPauseMs);

    fillDrives();

    connect(m_drives, &QComboBox::activated, this, &FolderPane::driveChosen);
    connect(m_path, &QLineEdit::returnPressed, this, &FolderPane::pathEntered);
    connect(m_tree, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        m_keyboardPause->stop();
        m_folder = m_model->filePath(index);
        emit folderChosen(m_folder);
    });
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &FolderPane::keyboardMoved);
    connect(m_keyboardPause, &QTimer::timeout, this, &FolderPane::keyboardPauseEnded);
    // The tree reads folders in the background: the current folder can be
    // shown once the folders above it are in.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (m_revealPending && inside(m_folder, loaded))
            revealFolder();
    });
    // The model sorts the folders it read a moment later, which moves the rows.
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] {
        if (m_revealPending)
            revealFolder();
    });
    // Whatever the user does with the tree makes it theirs: no more scrolling back.
    connect(m_tree->verticalScrollBar(), &QScrollBar::actionTriggered, this, &FolderPane::userTookTheTree);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
}

void FolderPane::fillDrives()
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
    m_driveCount = m_drives->count();
}

void FolderPane::fillRecent()
{
    const QSignalBlocker quiet(m_drives);
    while (m_drives->count() > m_driveCount)
        m_drives->removeItem(m_drives->count() - 1);
    if (!m_recent.isEmpty())
        m_drives->insertSeparator(m_driveCount);
    for (const QString& folder : m_recent)
        m_drives->addItem(folder, folder);
    int drive = -1;
    for (int i = 0; i < m_driveCount; ++i) {
        const QString root = m_drives->itemData(i).toString();
        if (inside(m_folder, root) &&
            (drive < 0 || root.size() > m_drives->itemData(drive).toString().size()))
            drive = i;
    }
    m_drives->setCurrentIndex(drive);
}

void FolderPane::setRecentFolders(const QStringList& folders)
{
    m_recent = folders;
    m_recent.removeDuplicates();
    m_recent = m_recent.mid(0, kRecentCount);
    fillRecent();
}

void FolderPane::rememberFolder(const QString& folder)
{
    m_recent.removeAll(folder);
    m_recent.prepend(folder);
    while (m_recent.size() > kRecentCount)
        m_recent.removeLast();
    fillRecent();
}

void FolderPane::showFolder(const QString& folder)
{
    // A folder the user picked in the tree is where the tree already is.
    const bool pickedInTree = folder == m_folder;
    m_folder = folder;
    m_path->setText(QDir::toNativeSeparators(folder));
    rememberFolder(folder);
    if (pickedInTree)
        return;
    m_revealPending = true;
    revealFolder();
}

void FolderPane::revealFolder()
{
    const QModelIndex index = m_model->index(m_folder);
    if (!index.isValid())
        return;
    m_revealing = true;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_tree->expand(parent);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_revealing = false;
}

void FolderPane::userTookTheTree() { m_revealPending = false; }

bool FolderPane::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress: userTookTheTree(); break;
    case QEvent::Show:
    case QEvent::Resize:
        // Laid out anew before the user touched it: the folder goes back in sight.
        if (m_revealPending && watched == m_tree->viewport())
            QTimer::singleShot(0, this, [this] {
                if (m_revealPending)
                    revealFolder();
            });
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void FolderPane::driveChosen(int index)
{
    const QString folder = m_drives->itemData(index).toString();
    if (folder.isEmpty())
        return;
    // A visited folder may have gone since: say so and drop it from the list.
    if (!QFileInfo(folder).isDir()) {
        platform::showInformation(QStringLiteral("ﾌｫﾙﾀﾞ %1 が見つかりません。").arg(folder));
        m_recent.removeAll(folder);
        fillRecent();
        return;
    }
    m_folder.clear();  // reveal it even when it is the folder on view
    emit folderChosen(folder);
}

void FolderPane::pathEntered()
{
    const QString folder = typedFolder(m_path->text());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        platform::showInformation(
            QStringLiteral("ﾌｫﾙﾀﾞ %1 が見つかりません。").arg(m_path->text().trimmed()));
        m_path->setText(QDir::toNativeSeparators(m_folder));
        return;
    }
    m_folder.clear();
    emit folderChosen(folder);
}

void FolderPane::keyboardMoved(const QModelIndex& current)
{
    if (!m_revealing && current.isValid())
        m_keyboardPause->start();
}

void FolderPane::keyboardPauseEnded()
{
    const QString folder = m_model->filePath(m_tree->currentIndex());
    if (folder.isEmpty() || folder == m_folder)
        return;
    m_folder = folder;
    emit folderChosen(folder);
}
