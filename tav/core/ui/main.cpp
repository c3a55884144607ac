#include "tav/core/ui/main.h"

#include "platform/PlatformPaths.h"
#include "platform/PrinterCaps.h"
#include "platform/ProfileFile.h"
#include "platform/Prompt.h"
#include "platform/QtPrintDevice.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "tav/catalog/Convert.h"
#include "tav/catalog/HtmlAlbum.h"
#include "tav/catalog/ThumbnailSheets.h"
#include "tav/catalog/ui/TitlesTabView.h"
#include "tav/catalog/ui/frmCom.h"
#include "tav/core/BrowserLayout.h"
#include "tav/core/CustomColors.h"
#include "tav/core/HelpTopics.h"
#include "tav/core/HintTips.h"
#include "tav/core/PrinterMargins.h"
#include "tav/core/RunState.h"
#include "tav/core/Settings.h"
#include "tav/core/WindowPlacement.h"
#include "tav/core/spath.h"
#include "tav/core/ui/ColorSwatch.h"
#include "tav/core/ui/ElidingLabel.h"
#include "tav/core/ui/FileColumn.h"
#include "tav/core/ui/MultiRowTabs.h"
#include "tav/core/ui/PictureView.h"
#include "tav/core/ui/WidgetControls.h"
#include "tav/core/ui/WorkTabs.h"
#include "tav/core/ui/frmOp.h"
#include "tav/core/ui/frmWanpo.h"
#include "tav/imaging/GvLinkFetcher.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/imaging/PictureOptions.h"
#include "tav/printing/Album.h"
#include "tav/printing/IndexPrint.h"
#include "tav/printing/MultiImage.h"
#include "tav/printing/OnePerPage.h"
#include "tav/printing/PreviewZoom.h"
#include "tav/printing/ServiceSize.h"
#include "tav/printing/StickerPrint.h"
#include "tav/printing/ui/AdjustPreview.h"
#include "tav/printing/ui/frmPrnPV.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 598;
constexpr int kFileColumnWidth = 220;
constexpr int kFileColumnMinWidth = 150;
// The window never asks for more than this, so that it fits small screens and
// never grows with a long text; what does not fit scrolls or is shortened.
constexpr int kWindowMinWidth = 320;
constexpr int kWindowMinHeight = 240;

// The buttons busy mode disables besides the menus and the large controls.
constexpr const char* kBusyButtons[] = {"bt_sumNe", "bt_path_set", "bt_fileConv", "bt_suOutPath", "bt_sumPv"};
constexpr const char* kBusyControls[] = {"PageControl1",    "dr_list",    "dir_list",
                                         "FilterComboBox1", "file_list3", "TabControl1"};

// The tabs the main window serves itself: the adjustment preview and the titles editor.
constexpr int kAdjustTab = workTabIndex(buildAdjustTab);
constexpr int kTitlesTab = workTabIndex(buildTitlesTab);
static_assert(kAdjustTab >= 0 && kTitlesTab >= 0);

// Tab buttons whose features are built, by object name.
struct TabCommand {
    const char* button;
    void (TfrTav::*handler)();
};

QString selectionStatus(int selected, int total)
{
    return QStringLiteral("%1/%2個のﾌｧｲﾙを選択しています。").arg(selected).arg(total);
}

}  // namespace

MainWindowEnvironment MainWindowEnvironment::fromPlatform()
{
    MainWindowEnvironment env;
    env.programFolder = platform::programFolder();
    platform::Registry& registry = platform::Registry::current();
    env.registry = registry.isOpen() ? &registry : nullptr;
    env.printer = platform::defaultPrinterCaps();
    env.openExternal = platform::shellOpen;
    return env;
}

TfrTav::TfrTav(MainWindowEnvironment environment, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_env(std::move(environment))
{
    setObjectName(QStringLiteral("frTav"));
    setWindowTitle(QStringLiteral("Tav"));
    AbortRequested = false;
    PreviewMode = false;
    ScreenDotsPerMm = kDefaultScreenDotsPerMm;
    m_app.previewZoom = 1.0;
    m_app.highQualityScaling = false;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_controls = std::make_unique<WidgetControls>(this);
    m_gv = std::make_unique<TgvDDE>();
    m_gvFetcher = std::make_unique<GvLinkFetcher>(*m_gv);
    SetGvFetcher(m_gvFetcher.get());

    m_pathPicker = std::make_unique<TfrPath>();
    // The file column and the work area share the window through a splitter,
    // so that the detail view can be widened.
    m_columns = new QSplitter(Qt::Horizontal);
    m_columns->setObjectName(QStringLiteral("sp_fileColumn"));
    m_columns->setChildrenCollapsible(false);
    m_columns->setContentsMargins(4, 4, 4, 4);
    m_files = new FileColumn;
    m_files->setMinimumWidth(kFileColumnMinWidth);
    m_columns->addWidget(m_files);
    m_columns->addWidget(buildWorkArea());
    m_columns->setStretchFactor(0, 0);
    m_columns->setStretchFactor(1, 1);
    setCentralWidget(m_columns);
    buildMenus();
    buildPopupMenu();
    buildAdjustPreview();
    connectCommands();

    platform::ProfileFile file(m_env.programFolder + QString::fromLatin1(kSettingsFileName));
    SettingsContext context{file, *m_controls, *m_files, m_app, m_env.registry, m_env.printer};
    LoadSettings(context);
    ApplyPictureOptions(m_app);
    const BrowserLayout layout = readBrowserLayout(file);
    m_files->setRecentFolders(m_files->recentFolders() + layout.recentFolders);
    m_gv->SetGvOptions(m_app.gvIs080OrLater ? 1 : 0, m_app.gvPath);
    m_adjust->connectTabControls();

    setMinimumSize(kWindowMinWidth, kWindowMinHeight);
    resize(kWindowWidth, kWindowHeight);
    const int column = layout.fileColumnWidth > 0 ? layout.fileColumnWidth : kFileColumnWidth;
    m_columns->setSizes({column, kWindowWidth - column});
    shrinkToScreen();
    qApp->installEventFilter(this);
}

TfrTav::~TfrTav()
{
    qApp->removeEventFilter(this);
    SetGvFetcher(nullptr);
}

QWidget* TfrTav::buildWorkArea()
{
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    // All eleven captions in sight: they wrap onto a second row. A page
    // taller or wider than the window scrolls instead of growing it.
    m_tabs = new MultiRowTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    for (const WorkTab& tab : kWorkTabs) {
        auto* scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(tab.build());
        m_tabs->addTab(scroll, QString::fromUtf8(tab.caption));
    }
    layout->addWidget(m_tabs, 1);

    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    auto* status = new QVBoxLayout(frame);
    status->setContentsMargins(6, 4, 6, 4);
    m_msg = new ElidingLabel;
    m_msg->setObjectName(QStringLiteral("msg"));
    status->addWidget(m_msg);
    auto* gaugeRow = new QHBoxLayout;
    m_gauge = new QProgressBar;
    m_gauge->setObjectName(QStringLiteral("ga"));
    m_gauge->setTextVisible(false);
    m_gauge->setRange(0, 1);
    m_gauge->setValue(0);
    gaugeRow->addWidget(m_gauge, 1);
    m_stop = new QPushButton(QStringLiteral("中止"));
    m_stop->setObjectName(QStringLiteral("bt_stop"));
    m_stop->setEnabled(false);
    gaugeRow->addWidget(m_stop);
    status->addLayout(gaugeRow);
    layout->addWidget(frame);
    return area;
}

void TfrTav::buildAdjustPreview()
{
    AdjustPreviewHost host;
    host.activePage = [this] {
        const int tab = m_tabs->currentIndex();
        return tab == kAdjustTab   ? PreviewPage::Adjust
               : tab == kTitlesTab ? PreviewPage::Titles
                                   : PreviewPage::Other;
    };
    host.firstSelectedPath = [this] { return m_files->selectedPaths().value(0); };
    host.setStatus = [this](const QString& text) { setStatus(text); };
    host.settings = &m_app;
    m_adjust = std::make_unique<AdjustPreview>(m_tabs->widget(kAdjustTab), std::move(host));
}

void TfrTav::btGazoCyoPVClick() { m_adjust->btGazoCyoPVClick(); }

void TfrTav::connectCommands()
{
    // Help buttons open their topic; every other command button of the tabs
    // runs its handler from this table.
    const TabCommand commands[] = {
        {"Button4", &TfrTav::mnuFileCoEditClick},
        {"btGazoCyoPV", &TfrTav::btGazoCyoPVClick},
        {"bt_Prt", &TfrTav::bt_PrtClick},
        {"bt_PrtPv", &TfrTav::bt_PrtClick},
        {"bt_nnPrint", &TfrTav::bt_nnPrintClick},
        {"bt_nnPv", &TfrTav::bt_nnPrintClick},
        {"bt_prAPS", &TfrTav::bt_prAPSClick},
        {"bt_pvAPS", &TfrTav::bt_prAPSClick},
        {"bt_prSv", &TfrTav::bt_prSvClick},
        {"bt_pvSV", &TfrTav::bt_prSvClick},
        {"bt_albmPr", &TfrTav::bt_albmPrClick},
        {"bt_albmPV", &TfrTav::bt_albmPrClick},
        {"bt_PuriKura", &TfrTav::bt_PuriKuraClick},
        {"bt_PuriKuraPv", &TfrTav::bt_PuriKuraClick},
        {"bt_kasaneSet", &TfrTav::bt_kasaneSetClick},
        {"bt_mkHtml", &TfrTav::bt_mkHtmlClick},
        {"bt_sumNe", &TfrTav::bt_sumNeClick},
        {"bt_sumPv", &TfrTav::bt_sumNeClick},
        {"bt_suOutPath", &TfrTav::bt_suOutPathClick},
        {"bt_suDaishi", &TfrTav::bt_suDaishiClick},
        {"bt_fileConv", &TfrTav::bt_fileConvClick},
        {"bt_path_set", &TfrTav::bt_path_setClick},
    };
    for (QPushButton* button : m_tabs->findChildren<QPushButton*>()) {
        const QVariant context = button->property("helpContext");
        const auto built =
            std::find_if(std::begin(commands), std::end(commands), [button](const TabCommand& c) {
                return button->objectName() == QLatin1String(c.button);
            });
        if (context.isValid())
            connect(button, &QPushButton::clicked, this, [this, context] { showHelp(context.toInt()); });
        else if (built != std::end(commands))
            connect(button, &QPushButton::clicked, this, built->handler);
    }
    if (auto* preview =
            m_tabs->widget(kTitlesTab)->findChild<QAbstractButton*>(QStringLiteral("cb_ticom_prv")))
        connect(preview, &QAbstractButton::clicked, this, [this] {
            cb_ticom_prvClick(m_tabs->widget(kTitlesTab), m_files->selectedPaths().value(0), m_app, this);
        });

    for (ColorSwatch* swatch : m_tabs->findChildren<ColorSwatch*>())
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { chooseSwatchColor(swatch); });
    connect(m_stop, &QPushButton::clicked, this, &TfrTav::bt_stopClick);
    connect(m_files, &FileColumn::contentChanged, this, &TfrTav::showSelectionStatus);
    connect(m_files, &FileColumn::clicked, this, &TfrTav::file_list3Click);
    connect(m_files, &FileColumn::folderChanged, this, &TfrTav::file_list3Click);
    connect(m_files, &FileColumn::itemActivated, this, &TfrTav::mnuFileDispClick);
}

void TfrTav::chooseSwatchColor(ColorSwatch* swatch)
{
    platform::ColorRequest request;
    request.initial = swatch->colorRef();
    loadCustomColors(m_app.customColors, request);
    if (const auto chosen = platform::prompts().chooseColor(request)) {
        swatch->setColorRef(*chosen);
        storeCustomColors(request, m_app.customColors);
    }
}

void TfrTav::shrinkToScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Once shown, the frame the window system adds (title bar, borders) must fit as well.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize();
    const QRect placed = placeOnScreen(size(), frame, screen->availableGeometry());
    if (placed.size() != size())
        resize(placed.size());
    move(placed.topLeft());
}

void TfrTav::SetBusy(bool on)
{
    m_busy = on;
    for (QMenu* menu : {m_fileMenu, m_helpMenu, m_optionMenu})
        menu->menuAction()->setEnabled(!on);
    for (const char* name : kBusyControls)
        if (auto* w = findChild<QWidget*>(QString::fromLatin1(name)))
            w->setEnabled(!on);
    for (const char* name : kBusyButtons)
        if (auto* w = findChild<QWidget*>(QString::fromLatin1(name)))
            w->setEnabled(!on);
    m_stop->setEnabled(on);
    if (on)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    repaint();
}

void TfrTav::setStatus(const QString& text)
{
    m_msg->setText(text);
    m_msg->repaint();
}

void TfrTav::setGaugeMaximum(int maximum) { m_gauge->setRange(0, std::max(1, maximum)); }
void TfrTav::setGauge(int value) { m_gauge->setValue(value); }
void TfrTav::processWaitingInput() { QCoreApplication::processEvents(); }

void TfrTav::showHelp(int context) { showHelpPage(helpPagePath(m_env.programFolder, context)); }

void TfrTav::showHelpPage(const QString& page)
{
    if (!QFileInfo::exists(page) || !m_env.openExternal(page))
        platform::showError(QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙ %1 を開けませんでした。").arg(page));
}

bool TfrTav::eventFilter(QObject* watched, QEvent* event)
{
    // The application-wide filter sees the work tabs' strip as well.
    if (watched == m_tabs->tabBar() && event->type() == QEvent::MouseButtonRelease)
        QMetaObject::invokeMethod(this, &TfrTav::tabStripReleased, Qt::QueuedConnection);
    if (event->type() == QEvent::KeyRelease) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (widget && widget->window() == this && !key->isAutoRepeat()) {
            if (key->key() == Qt::Key_Escape) {
                AbortRequested = true;
                return true;
            }
            if (key->key() == Qt::Key_F1) {
                showHelp(0);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrTav::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && screen())
        ScreenDotsPerMm = screen()->logicalDotsPerInchX() / 25.4;
    QMainWindow::changeEvent(event);
}

void TfrTav::showEvent(QShowEvent* event)
{
    m_msg->clear();
    QMainWindow::showEvent(event);
    // The frame is known once the window is on the screen: a window that
    // fits the screen only without it is shrunk once more.
    if (!m_shownOnce) {
        m_shownOnce = true;
        QTimer::singleShot(0, this, &TfrTav::shrinkToScreen);
    }
}

void TfrTav::closeEvent(QCloseEvent* event)
{
    if (!m_settingsSaved) {
        m_settingsSaved = true;
        m_gv->StopGv();
        // The hint window stores its start-up switch when it closes.
        if (m_wanpo)
            m_wanpo->close();
        saveSettings();
        platform::ProfileFile file(m_env.programFolder + QString::fromLatin1(kSettingsFileName));
        writeBrowserLayout(file, {m_columns->sizes().value(0), m_files->recentFolders()});
    }
    event->accept();
}

bool TfrTav::saveSettings()
{
    platform::ProfileFile file(m_env.programFolder + QString::fromLatin1(kSettingsFileName));
    SettingsContext context{file, *m_controls, *m_files, m_app, m_env.registry, m_env.printer};
    return SaveSettings(context);
}

void TfrTav::prSetUpClick()
{
    platform::prompts().printerSetupDialog(m_printer.get());
    m_printDevice.reset();
}

QStringList TfrTav::selectedPaths() const { return m_files->selectedPaths(); }
QString TfrTav::currentFolder() const { return m_files->currentFolder(); }
ControlSurface& TfrTav::controls() { return *m_controls; }
void TfrTav::refreshFolder() { m_files->refresh(); }

bool TfrTav::choosePrinter()
{
    const bool chosen = platform::prompts().printDialog(m_printer.get());
    m_printDevice.reset();
    return chosen;
}

platform::PrintDevice& TfrTav::printDevice()
{
    if (m_env.printDevice)
        return *m_env.printDevice;
    if (!m_printDevice)
        m_printDevice = std::make_unique<platform::QtPrintDevice>(*m_printer);
    return *m_printDevice;
}

bool TfrTav::showPreviewPage(const QImage& page, double& zoom)
{
    return TfrPrnPV::showPage(this, page, zoom);
}

// Pages as sharp at the largest zoom as at 100 %.
double TfrTav::previewPageScale() const { return kPreviewZoomMax; }

bool TfrTav::sentBy(const char* name) const
{
    return sender() && sender()->objectName() == QLatin1String(name);
}

void TfrTav::bt_PrtClick() { PrintOnePerPage(*this, sentBy("bt_PrtPv")); }
void TfrTav::bt_nnPrintClick() { PrintMultiImage(*this, sentBy("bt_nnPv")); }
void TfrTav::bt_prAPSClick() { PrintIndex(*this, sentBy("bt_pvAPS")); }
void TfrTav::bt_prSvClick() { PrintServiceSize(*this, sentBy("bt_pvSV")); }
void TfrTav::bt_albmPrClick() { PrintAlbum(*this, sentBy("bt_albmPV")); }
void TfrTav::bt_PuriKuraClick() { PrintStickers(*this, sentBy("bt_PuriKuraPv")); }
void TfrTav::bt_kasaneSetClick() { ChooseOverlayPicture(controls()); }
void TfrTav::bt_mkHtmlClick() { WriteHtmlAlbum(*this); }
void TfrTav::bt_sumNeClick() { MakeThumbnailSheets(*this, sentBy("bt_sumPv")); }
void TfrTav::bt_suOutPathClick() { ChooseSheetOutput(controls()); }
void TfrTav::bt_suDaishiClick() { ChooseSheetBackground(controls()); }
void TfrTav::bt_fileConvClick() { ConvertSelection(*this); }
void TfrTav::bt_path_setClick() { ChooseOutputFolder(*m_pathPicker, controls()); }

void TfrTav::Exit1Click() { close(); }

void TfrTav::mnuFileEditClick()
{
    const QStringList paths = m_files->selectedPaths();
    if (!paths.isEmpty())
        m_env.openExternal(paths.first());
}

void TfrTav::mnuFileDelClick()
{
    if (m_busy)
        return;
    const QStringList paths = m_files->selectedPaths();
    if (paths.isEmpty())
        return;
    const QString name = QFileInfo(paths.first()).fileName();
    if (platform::askYesNo(QStringLiteral("'%1' をごみ箱に移しますか?").arg(name),
                           QStringLiteral("ﾌｧｲﾙの削除の確認"))) {
        if (!platform::moveToTrash(paths.first()))
            platform::showError(QStringLiteral("%1 をごみ箱に移動できませんでした。").arg(name));
    }
    m_files->refresh();
}

void TfrTav::Refresh1Click()
{
    if (!m_busy)
        m_files->refresh();
}

void TfrTav::mnuSelectAllClick()
{
    if (!m_busy)
        m_files->selectAll();
}

void TfrTav::mnuUnSelClick()
{
    if (!m_busy)
        m_files->selectNone();
}

void TfrTav::mnuSelHantenClick()
{
    if (!m_busy)
        m_files->invertSelection();
}

void TfrTav::showSelectionStatus()
{
    if (!m_busy)
        m_msg->setText(selectionStatus(m_files->selectedCount(), m_files->itemCount()));
}

void TfrTav::file_list3Click()
{
    showSelectionStatus();
    if (m_tabs->currentIndex() == kTitlesTab)
        refreshTitlesTab(m_tabs->widget(kTitlesTab), m_files->selectedPaths(), m_app, this);
    else
        m_adjust->LoadAdjustPreview(m_adjust->previewBox());
}

void TfrTav::tabStripReleased()
{
    m_adjust->btGazoCyoPVClick();
    file_list3Click();
}

void TfrTav::bt_stopClick() { AbortRequested = true; }

void TfrTav::mnuFileDispClick()
{
    const QStringList paths = m_files->selectedPaths();
    if (paths.isEmpty())
        return;
    const QString path = paths.first();
    const imgkit::DibHandle dib =
        LoadImageFile(path, QStringLiteral("案内"), QFileInfo(path).fileName() + QStringLiteral("を読込み中"),
                      m_app.gvPath);
    if (!dib) {
        platform::showInformation(path + QStringLiteral("は読めませんでした。"));
        return;
    }
    showPicture(this, path, dib);
}
void TfrTav::mnuFileCoEditClick()
{
    if (m_busy)
        return;
    if (editPictureComment(this, m_files->selectedPaths())) {
        reloadTitlesTabRecord(m_tabs->widget(kTitlesTab));
        file_list3Click();
    }
}
void TfrTav::mnuOpClick()
{
    if (m_busy)
        return;
    const PageMargins minimum = m_env.printer ? PrinterMinimumMargins(*m_env.printer) : PageMargins{};
    if (TfrOp::Execute(this, m_app, m_files->currentFolder(), minimum))
        ApplyPictureOptions(m_app);
}

void TfrTav::mnuWanpoClick()
{
    TfrWanpo::open(m_wanpo, this, m_app, m_env.programFolder + QString::fromLatin1(kHintFileName));
}

void TfrTav::showHintsAtStartUp()
{
    if (m_app.showHintsAtStart)
        mnuWanpoClick();
}
void TfrTav::mnuKataroguSaveClick()
{
    if (!m_busy)
        m_files->saveCatalogue();
}
void TfrTav::SearchforHelpOn1Click() { showHelp(0); }

// Until the product has a real mail address and support site, both items open
// the local page that tells how to report a problem.
void TfrTav::mnuSendMailClick() { showHelpPage(reportPagePath(m_env.programFolder)); }
void TfrTav::mnuGoHpClick() { showHelpPage(reportPagePath(m_env.programFolder)); }
