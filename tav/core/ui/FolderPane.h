// The folder half of the file column: the drive box dr_list (drives, then
// the folders visited last), an editable path box with completion, and the
// folder tree dir_list. It shows the current folder in the tree once the
// tree has read its way down to it, and then leaves the tree where the user
// puts it. A click on a folder opens it at once; moving with the keyboard
// opens the highlighted folder after a short pause, so arrowing through
// many folders does not read each one.
#pragma once

#include "tav/core/BrowserLayout.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QTimer;
class QTreeView;

class FolderPane : public QWidget {
    Q_OBJECT
public:
    // How long the keyboard's highlight rests on a folder before it opens.
    static constexpr int kKeyboardPauseMs = 350;
    // How many visited folders the drive box lists.
    static constexpr int kRecentCount = kMaxRecentFolders;

    explicit FolderPane(QWidget* parent = nullptr);

    // Moves the drive box, path box and tree to `folder` (absolute, without
    // a trailing separator) without announcing it; the tree scrolls it into
    // sight as soon as it has read it.
    void showFolder(const QString& folder);

    QStringList recentFolders() const { return m_recent; }
    void setRecentFolders(const QStringList& folders);

    QTreeView* tree() const { return m_tree; }
    QLineEdit* pathBox() const { return m_path; }

signals:
    // The user chose a folder: by tree, drive box, recent list or path box.
    void folderChosen(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDrives();
    void fillRecent();
    void rememberFolder(const QString& folder);
    void revealFolder();
    void userTookTheTree();
    void driveChosen(int index);
    void pathEntered();
    void keyboardMoved(const QModelIndex& current);
    void keyboardPauseEnded();

    QComboBox* m_drives;
    QLineEdit* m_path;
    QTreeView* m_tree;
    QFileSystemModel* m_model;
    QTimer* m_keyboardPause;
    QString m_folder;
    QStringList m_recent;
    int m_driveCount = 0;
    bool m_revealPending = false;  // scroll the current folder into sight when it is read
    bool m_revealing = false;  // the pane itself moves the tree
};
