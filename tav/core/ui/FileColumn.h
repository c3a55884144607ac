// The main window's left column: drive box, folder tree, type filter, sort
// list, view-mode tabs, the file view and the hidden file list. It is the
// file browser the settings move and the selection every batch walks.
#pragma once

#include "CatalogueCache.h"
#include "ControlSurface.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QListWidget;
class QTabBar;
class QTreeView;
class QTreeWidget;

class FileColumn : public QWidget, public FolderBrowser {
    Q_OBJECT
public:
    enum ViewMode { ListView, CatalogueView, DetailView };

    explicit FileColumn(QWidget* parent = nullptr);

    QString currentFolder() const override { return m_folder; }
    void openFolder(const QString& folder) override;

    // Full paths of the selected items of the file view, in view order.
    QStringList selectedPaths() const;
    int itemCount() const;
    int selectedCount() const;
    const QStringList& sortedNames() const { return m_sortedNames; }

    // Selection commands; each acts only when the view has items.
    void selectAll();
    void selectNone();
    void invertSelection();

    // file_list re-reads the folder, which refills the view.
    void refresh();

    // "ｶﾀﾛｸﾞ保存・更新": writes the thumbnails of the folder on view into its
    // catalogue file, building them first when the view has not shown them.
    void saveCatalogue();

    QTreeWidget* fileView() const { return m_fileView; }

signals:
    // The view was refilled from a new folder content (the status text is due).
    void contentChanged();
    // The user clicked in the view or the selection commands ran.
    void clicked();
    // The folder tree moved to another folder.
    void folderChanged();

private:
    void fillDrives();
    void showFolderInTree();
    void file_listChange();
    void cb_sortChange();
    void TabControl1Change();
    void readFolder();
    void RefreshFileView();
    void selectBk();
    void selectRst();
    void fillCatalogue();
    void buildCatalogue(bool showItems);
    ViewMode viewMode() const;

    QComboBox* m_drives;
    QTreeView* m_folders;
    QFileSystemModel* m_folderModel;
    QComboBox* m_filter;
    QComboBox* m_sort;
    QTabBar* m_viewModes;
    QTreeWidget* m_fileView;
    QListWidget* m_fileList;
    QString m_folder;
    QStringList m_sortedNames;
    CatalogueCache m_catalogue;
    bool m_filling = false;        // a catalogue build lets waiting input run
    bool m_refillPending = false;  // the view was asked to refill meanwhile
};
