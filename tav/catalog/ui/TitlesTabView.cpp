// Filling the tab "ﾀｲﾄﾙとｺﾒﾝﾄ" for the selected picture.
#include "tav/catalog/ui/TitlesTabView.h"

#include "tav/catalog/CommentFile.h"
#include "tav/catalog/ui/TitlesPreview.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

namespace {

const QString kNamePrefix = QStringLiteral("ﾌｧｲﾙ名: ");
const QString kNothingSelected = QStringLiteral("ﾌｧｲﾙ名: 選択されていません.");

template <class Control>
Control* control(QWidget* tabPage, const char* name)
{
    return tabPage->findChild<Control*>(QString::fromLatin1(name));
}

// The group caption names the picture. A long path is shortened to the
// group's width (in full as its tip), so that it never widens the window.
class CaptionElider : public QObject {
public:
    explicit CaptionElider(QGroupBox* group) : QObject(group), m_group(group)
    {
        group->installEventFilter(this);
    }

    void setCaption(const QString& caption)
    {
        m_caption = caption;
        elide();
    }
    const QString& caption() const { return m_caption; }

    static CaptionElider* of(QGroupBox* group)
    {
        for (QObject* child : group->children())
            if (auto* elider = dynamic_cast<CaptionElider*>(child))
                return elider;
        auto* elider = new CaptionElider(group);
        elider->m_caption = group->title();
        return elider;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            elide();
        return false;
    }

private:
    void elide()
    {
        const int room = std::max(40, m_group->width() - 3 * m_group->fontMetrics().averageCharWidth());
        const QString shown = m_group->fontMetrics().elidedText(m_caption, Qt::ElideMiddle, room);
        if (shown != m_group->title())
            m_group->setTitle(shown);
        m_group->setToolTip(shown == m_caption ? QString() : m_caption);
    }

    QGroupBox* m_group;
    QString m_caption;
};

void fillFields(QWidget* tabPage, const COMKATA& record)
{
    const std::pair<const char*, const QString*> fields[] = {{"tx_ticomTitle", &record.title},
                                                             {"tx_ticomNen", &record.year},
                                                             {"tx_ticomTuki", &record.month},
                                                             {"tx_ticomHi", &record.day}};
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
    CaptionElider* caption = CaptionElider::of(group);
    if (selected.isEmpty()) {
        caption->setCaption(kNothingSelected);
        fillFields(tabPage, COMKATA{});
        reloadPreview(tabPage, QString(), app, status);
        return;
    }
    const QString& path = selected.first();
    if (caption->caption() == kNamePrefix + path)
        return;
    caption->setCaption(kNamePrefix + path);
    showRecord(tabPage, path);
    reloadPreview(tabPage, path, app, status);
}

void reloadTitlesTabRecord(QWidget* tabPage)
{
    auto* group = tabPage ? control<QGroupBox>(tabPage, "gb_ticom") : nullptr;
    if (!group)
        return;
    const QString& caption = CaptionElider::of(group)->caption();
    if (caption != kNothingSelected && caption.startsWith(kNamePrefix))
        showRecord(tabPage, caption.mid(kNamePrefix.size()));
}

void cb_ticom_prvClick(QWidget* tabPage, const QString& firstSelected, const AppSettings& app,
                       BatchHost* status)
{
    if (tabPage)
        reloadPreview(tabPage, firstSelected, app, status);
}
