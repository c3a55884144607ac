// Filling the tab "ﾀｲﾄﾙとｺﾒﾝﾄ" for the selected picture.
#include "TitlesTabView.h"

#include "CommentFile.h"
#include "TitlesPreview.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

const QString kNamePrefix = QStringLiteral("ﾌｧｲﾙ名: ");
const QString kNothingSelected = QStringLiteral("ﾌｧｲﾙ名: 選択されていません.");

template <class Control>
Control* control(QWidget* tabPage, const char* name)
{
    return tabPage->findChild<Control*>(QString::fromLatin1(name));
}

void fillFields(QWidget* tabPage, const COMKATA& record)
{
    const std::pair<const char*, const QString*> fields[] = {
        {"tx_ticomTitle", &record.title}, {"tx_ticomNen", &record.year},
        {"tx_ticomTuki", &record.month},  {"tx_ticomHi", &record.day}};
    for (const auto& [name, text] : fields) {
        if (auto* field = control<QLineEdit>(tabPage, name))
            field->setText(*text);
    }
    if (auto* comment = control<QPlainTextEdit>(tabPage, "tx_ticomCom"))
        comment->setPlainText(QString(record.comment).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void showRecord(QWidget* tabPage, const QString& path)
{
    COMKATA record;
    ReadComment(path, record);
    fillFields(tabPage, record);
}

void reloadPreview(QWidget* tabPage, const QString& path, const AppSettings& app, BatchHost* status)
{
    const auto* wanted = control<QCheckBox>(tabPage, "cb_ticom_prv");
    showTitlesPreview(control<QLabel>(tabPage, "pic3"), wanted && wanted->isChecked(), path, app, status);
}

}  // namespace

void refreshTitlesTab(QWidget* tabPage, const QStringList& selected, const AppSettings& app,
                      BatchHost* status)
{
    auto* group = tabPage ? control<QGroupBox>(tabPage, "gb_ticom") : nullptr;
    if (!group || selected.size() > 1)
        return;
    if (selected.isEmpty()) {
        group->setTitle(kNothingSelected);
        fillFields(tabPage, COMKATA{});
        reloadPreview(tabPage, QString(), app, status);
        return;
    }
    const QString& path = selected.first();
    if (group->title() == kNamePrefix + path)
        return;
    group->setTitle(kNamePrefix + path);
    showRecord(tabPage, path);
    reloadPreview(tabPage, path, app, status);
}

void reloadTitlesTabRecord(QWidget* tabPage)
{
    auto* group = tabPage ? control<QGroupBox>(tabPage, "gb_ticom") : nullptr;
    if (group && group->title() != kNothingSelected && group->title().startsWith(kNamePrefix))
        showRecord(tabPage, group->title().mid(kNamePrefix.size()));
}

void cb_ticom_prvClick(QWidget* tabPage, const QString& firstSelected, const AppSettings& app,
                       BatchHost* status)
{
    if (tabPage)
        reloadPreview(tabPage, firstSelected, app, status);
}
