// The main window's menus: the main menu MainMenu1 and the file view's
// pop-up menu PopupMenu1, each item connected to its handler.
#include "tav/core/ui/FileColumn.h"
#include "tav/core/ui/main.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QAction* TfrTav::addCommand(QMenu* menu, const char* name, const QString& caption, void (TfrTav::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TfrTav::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    m_fileMenu = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    addCommand(m_fileMenu, "prSetUp", QStringLiteral("ﾌﾟﾘﾝﾀの設定"), &TfrTav::prSetUpClick);
    m_fileMenu->addSeparator();
    addCommand(m_fileMenu, "Exit1", QStringLiteral("終了(&X)"), &TfrTav::Exit1Click);

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    addCommand(edit, "mnuFileEdit", QStringLiteral("選択中の画像を編集"), &TfrTav::mnuFileEditClick);
    addCommand(edit, "mnuFileDel", QStringLiteral("選択中の画像ﾌｧｲﾙを削除 (ごみ箱へ)"),
               &TfrTav::mnuFileDelClick);

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    addCommand(view, "Refresh1", QStringLiteral("最新の情報に更新(&R)"), &TfrTav::Refresh1Click);

    QMenu* select = bar->addMenu(QStringLiteral("印刷ﾌｧｲﾙ選択(&S)"));
    addCommand(select, "mnuSelectAll", QStringLiteral("全てを選択"), &TfrTav::mnuSelectAllClick);
    addCommand(select, "mnuSelHanten", QStringLiteral("選択反転"), &TfrTav::mnuSelHantenClick);
    addCommand(select, "mnuUnSel", QStringLiteral("選択解除"), &TfrTav::mnuUnSelClick);

    QMenu* titles = bar->addMenu(QStringLiteral("ﾀｲﾄﾙとｺﾒﾝﾄ(&T)"));
    addCommand(titles, "mnuFileCoEdit", QStringLiteral("選択中の画像のﾀｲﾄﾙとｺﾒﾝﾄを編集"),
               &TfrTav::mnuFileCoEditClick);

    m_optionMenu = bar->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    addCommand(m_optionMenu, "mnuOp", QStringLiteral("環境設定(&O)"), &TfrTav::mnuOpClick);

    m_helpMenu = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    addCommand(m_helpMenu, "SearchforHelpOn1", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"),
               &TfrTav::SearchforHelpOn1Click);
    addCommand(m_helpMenu, "mnuWanpo", QStringLiteral("ﾜﾝﾎﾟｲﾝﾄ(&T)"), &TfrTav::mnuWanpoClick);
    m_helpMenu->addSeparator();
    addCommand(m_helpMenu, "mnuSendMail", QStringLiteral("作者にﾒｰﾙを書く(&M)"), &TfrTav::mnuSendMailClick);
    addCommand(m_helpMenu, "mnuGoHp", QStringLiteral("ｻﾎﾟｰﾄﾎｰﾑﾍﾟｰｼﾞへ(&G)"), &TfrTav::mnuGoHpClick);
}

void TfrTav::buildPopupMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_popup->setToolTipsVisible(true);
    addCommand(m_popup, "popFileDisp", QStringLiteral("この画像を表示"), &TfrTav::mnuFileDispClick);
    addCommand(m_popup, "popFileEdit", QStringLiteral("この画像を編集"), &TfrTav::mnuFileEditClick);
    addCommand(m_popup, "popFileCoEdit", QStringLiteral("この画像のﾀｲﾄﾙとｺﾒﾝﾄを編集"),
               &TfrTav::mnuFileCoEditClick);
    addCommand(m_popup, "popFileDel", QStringLiteral("この画像ﾌｧｲﾙを削除 (ごみ箱へ)"),
               &TfrTav::mnuFileDelClick);
    m_popup->addSeparator();
    addCommand(m_popup, "popSelectAll", QStringLiteral("全てを選択"), &TfrTav::mnuSelectAllClick)
        ->setToolTip(QStringLiteral("全てのﾌｧｲﾙを選択状態にします。"));
    addCommand(m_popup, "popUnSel", QStringLiteral("全ての選択を解除"), &TfrTav::mnuUnSelClick)
        ->setToolTip(QStringLiteral("全てのﾌｧｲﾙを非選択状態にします。"));
    addCommand(m_popup, "popSelHanten", QStringLiteral("全ての選択を反転"), &TfrTav::mnuSelHantenClick)
        ->setToolTip(QStringLiteral("現在、選択されているﾌｧｲﾙを非選択に、非選択を選択にします。"));
    m_popup->addSeparator();
    addCommand(m_popup, "popKataroguSave", QStringLiteral("ｶﾀﾛｸﾞ保存・更新"), &TfrTav::mnuKataroguSaveClick);

    connect(m_files, &FileColumn::popupRequested, this, [this](const QPoint& at) { m_popup->popup(at); });
}
