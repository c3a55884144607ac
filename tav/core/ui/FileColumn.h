// The main window's left column: the folder pane (drive box, path box,
// folder tree), type filter, sort list, view-mode tabs, the file view and the
// hidden file list. It is the file browser the settings move and the
// selection every batch walks. The view follows the disk: files added,
// removed or rewritten in the folder on view show up without a refresh.
#pragma once

#include "tav/catalog/CatalogueCache.h"
#include "tav/core/ControlSurface.h"

#include <QStringList>
#include <QWidget>

class FolderPane;
class FolderWatcher;
class QComboBox;
class QListView;
class QListWidget;
class QTabBar;
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
    // The "ｶﾀﾛｸﾞ" mode's grid: the file view's items as large icons with
    // their names under them, sharing the view's selection.
    QListView* catalogueGrid() const { return m_grid; }
    // The folders visited last, newest first, as the drive box lists them.
    QStringList recentFolders() const;
    void setRecentFolders(const QStringList& folders);
    FolderPane* folderPane() const { return m_folderPane; }

signals:
    // The view was refilled from a new folder content (the status text is due).
    void contentChanged();
    // The user clicked in the view or the selection commands ran.
    void clicked();
    // The folder tree moved to another folder.
    void folderChanged();
    // An item was double-clicked, in the list or in the grid.
    void itemActivated();
    // The pop-up menu is asked for at a point of the screen.
    void popupRequested(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    void folderChangedOnDisk();
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

    FolderPane* m_folderPane;
    FolderWatcher* m_watcher;
    QComboBox* m_filter;
    QComboBox* m_sort;
    QTabBar* m_viewModes;
    QTreeWidget* m_fileView;
    QListView* m_grid = nullptr;
    QListWidget* m_fileList;
    QString m_folder;
    QStringList m_sortedNames;
    CatalogueCache m_catalogue;
    bool m_filling = false;  // a catalogue build lets waiting input run
    bool m_refillPending = false;  // the view was asked to refill meanwhile
};
