// Watches the folder on view for files added, removed, renamed or rewritten,
// and reports a change once the disk has been quiet for a moment. A change
// that arrives while the view must not be refilled (a batch walks it) waits
// until the view is free again.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class FolderWatcher : public QObject {
    Q_OBJECT
public:
    // The quiet time before a change is reported, and the most files watched
    // one by one for rewrites in place (the folder itself sees the rest).
    static constexpr int kSettleMs = 400;
    static constexpr int kMaxWatchedFiles = 512;

    explicit FolderWatcher(QObject* parent = nullptr);

    // Starts watching `folder` as it is now; an empty folder stops watching.
    void watch(const QString& folder);
    // Asked before reporting: false holds the change back and asks again later.
    void setReady(std::function<bool()> ready) { m_ready = std::move(ready); }

signals:
    void changed();

private:
    void settled();
    // Names, sizes and write times of the folder's files, in name order.
    static QStringList listing(const QString& folder);

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_folder;
    QStringList m_listing;
    std::function<bool()> m_ready;
};
