// The main window's left column: drive box, folder tree, type filter, sort
// list, view-mode tabs, the file view and the hidden file list. It is the
// file browser the settings move and the selection every batch walks.
#pragma once

#include "ControlSurface.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QListWidget;
class QTabBar;
class QTreeView;

class FileColumn : public QWidget, public FolderBrowser {
    Q_OBJECT
public:
    explicit FileColumn(QWidget* parent = nullptr);

    QString currentFolder() const override { return m_folder; }
    void openFolder(const QString& folder) override;

    // Full paths of the selected items of the file view, in view order.
    QStringList selectedPaths() const;
    int itemCount() const;
    int selectedCount() const;

    // Re-reads the folder and refills the view.
    void refresh();

    QListWidget* fileView() const { return m_fileView; }

signals:
    // The selection or the folder's content changed.
    void selectionChanged();

private:
    void fillDrives();
    // Expands the folder tree down to the current folder and scrolls it into view.
    void showFolderInTree();
    void refill();

    QComboBox* m_drives;
    QTreeView* m_folders;
    QFileSystemModel* m_folderModel;
    QComboBox* m_filter;
    QComboBox* m_sort;
    QTabBar* m_viewModes;
    QListWidget* m_fileView;
    QListWidget* m_fileList;
    QString m_folder;
};

// The full path of `name` in `folder`: joined with "/", except below the root
// folder "/", which takes no extra separator.
QString fullPath(const QString& folder, const QString& name);
