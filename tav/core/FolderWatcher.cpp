#include "tav/core/FolderWatcher.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, &FolderWatcher::settled);
}

QStringList FolderWatcher::listing(const QString& folder)
{
    QStringList out;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        out << file.fileName() + QLatin1Char('/') + QString::number(file.size()) + QLatin1Char('/') +
                   QString::number(file.lastModified().toMSecsSinceEpoch());
    return out;
}

void FolderWatcher::watch(const QString& folder)
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_settle.stop();
    m_folder = folder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    m_listing = listing(folder);
    m_watcher.addPath(folder);
    QStringList files;
    const QDir dir(folder);
    for (const QString& entry : m_listing.mid(0, kMaxWatchedFiles))
        files << dir.filePath(entry.section(QLatin1Char('/'), 0, -3));
    if (!files.isEmpty())
        m_watcher.addPaths(files);
}

void FolderWatcher::settled()
{
    if (m_folder.isEmpty())
        return;
    if (m_ready && !m_ready()) {
        m_settle.start();
        return;
    }
    const QStringList now = listing(m_folder);
    if (now == m_listing)
        return;
    m_listing = now;
    emit changed();
}
