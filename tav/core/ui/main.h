// The main window TfrTav: the file column on the left, the eleven work tabs
// on the right with the status line, gauge and stop button under them, the
// main menu and the file view's pop-up menu. It owns the program-wide
// settings, reads them at creation and writes them back when it closes.
#pragma once

#include "platform/DeviceCaps.h"
#include "tav/core/AppSettings.h"
#include "tav/printing/PrintSelection.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class AdjustPreview;
class ColorSwatch;
class FileColumn;
class GvLinkFetcher;
class TfrWanpo;
class TgvDDE;
class WidgetControls;
class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;
class TfrPath;

namespace platform {
class PrintDevice;
class Registry;
}  // namespace platform

// What the window takes from its surroundings; tests replace each piece.
struct MainWindowEnvironment {
    QString programFolder;  // with a trailing '/'
    platform::Registry* registry = nullptr;  // null: none can be opened
    std::optional<platform::DeviceCaps> printer;  // empty: no printer installed
    std::function<bool(const QString&)> openExternal;  // the desktop's opener
    // Prints instead of the window's printer when set (tests: a raster printer).
    std::shared_ptr<platform::PrintDevice> printDevice;

    static MainWindowEnvironment fromPlatform();
};

class TfrTav : public QMainWindow, public PrintHost {
    Q_OBJECT
public:
    explicit TfrTav(MainWindowEnvironment environment, QWidget* parent = nullptr);
    ~TfrTav() override;

    AppSettings& settings() override { return m_app; }
    // The printer the print commands use; "ﾌﾟﾘﾝﾀの設定" changes it for the rest of the run.
    QPrinter& printer() { return *m_printer; }
    FileColumn* fileColumn() const { return m_files; }

    // Busy mode: the controls a batch must not be disturbed through are
    // disabled, the stop button enabled, the cursor an hourglass.
    void SetBusy(bool on);
    bool isBusy() const { return m_busy; }
    // Opens the hint window when its start-up switch is on.
    void showHintsAtStartUp();

    // BatchHost.
    void setBusy(bool on) override { SetBusy(on); }
    void setStatus(const QString& text) override;
    void setGaugeMaximum(int maximum) override;
    void setGauge(int value) override;
    void processWaitingInput() override;

    // PrintHost.
    QStringList selectedPaths() const override;
    QString currentFolder() const override;
    ControlSurface& controls() override;
    bool choosePrinter() override;
    platform::PrintDevice& printDevice() override;
    bool showPreviewPage(const QImage& page, double& zoom) override;
    double previewPageScale() const override;
    void file_list3Click() override;
    void refreshFolder() override;

    // Opens the help page of `context` (0 = the contents).
    void showHelp(int context);
    void showHelpPage(const QString& page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildPopupMenu();
    QWidget* buildWorkArea();
    void buildAdjustPreview();
    void connectCommands();
    void shrinkToScreen();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, void (TfrTav::*handler)());
    // Opens the colour chooser with the custom colours of the settings.
    void chooseSwatchColor(ColorSwatch* swatch);
    bool saveSettings();

    // Menu and pop-up handlers.
    void prSetUpClick();
    void Exit1Click();
    void mnuFileEditClick();
    void mnuFileDelClick();
    void mnuFileDispClick();
    void Refresh1Click();
    void mnuSelectAllClick();
    void mnuSelHantenClick();
    void mnuUnSelClick();
    void mnuFileCoEditClick();
    void mnuOpClick();
    void SearchforHelpOn1Click();
    void mnuWanpoClick();
    void mnuSendMailClick();
    void mnuGoHpClick();
    void mnuKataroguSaveClick();
    void showSelectionStatus();
    // A mouse button released on the work tabs' strip: the tab shown may have changed.
    void tabStripReleased();
    void bt_stopClick();
    void btGazoCyoPVClick();
    // "印刷実行" and "ﾌﾟﾚﾋﾞｭｰ" of the first tab, told apart by the sender's name.
    void bt_PrtClick();
    // "印刷実行" and "ﾌﾟﾚﾋﾞｭｰ" of the multi-image tab ("bt_nnPv") and the index tab ("bt_pvAPS").
    void bt_nnPrintClick();
    void bt_prAPSClick();
    // Service-size ("bt_pvSV") and album ("bt_albmPV") prints.
    void bt_prSvClick();
    void bt_albmPrClick();
    // Sticker sheets: "印刷実行" and "ﾌﾟﾚﾋﾞｭｰ" ("bt_PuriKuraPv"); "参照...." picks the overlay picture.
    void bt_PuriKuraClick();
    void bt_kasaneSetClick();
    // "HTMLの作成" of the HTML tab.
    void bt_mkHtmlClick();
    void bt_sumNeClick();
    void bt_suOutPathClick();
    void bt_suDaishiClick();
    // "変換実行" and "参照..." of the file conversion tab.
    void bt_fileConvClick();
    void bt_path_setClick();
    // True when the sender is the button of that name.
    bool sentBy(const char* name) const;

    MainWindowEnvironment m_env;
    QPointer<TfrWanpo> m_wanpo;  // the one hint window, while it is open
    AppSettings m_app;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<platform::PrintDevice> m_printDevice;  // on m_printer, remade after each dialog
    std::unique_ptr<WidgetControls> m_controls;
    std::unique_ptr<TgvDDE> m_gv;
    std::unique_ptr<GvLinkFetcher> m_gvFetcher;
    std::unique_ptr<AdjustPreview> m_adjust;
    // The folder picker, kept for the whole run so that it starts where it last ended.
    std::unique_ptr<TfrPath> m_pathPicker;
    QSplitter* m_columns = nullptr;
    FileColumn* m_files = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_msg = nullptr;
    QProgressBar* m_gauge = nullptr;
    QPushButton* m_stop = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_optionMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QMenu* m_popup = nullptr;
    bool m_busy = false;
    bool m_settingsSaved = false;
    bool m_shownOnce = false;
};
