// The comment editor window and its menu.
#include "tav/catalog/ui/frmCom.h"

#include "platform/Prompt.h"
#include "tav/catalog/CommentFile.h"
#include "tav/core/TextHelpers.h"
#include "tav/core/ui/UpDown.h"

#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kClientWidth = 505;
constexpr int kClientHeight = 434;
constexpr int kFirstYear = 1960;

// The year counter reaches next year, so that no date of a picture taken
// today is stepped out of range, whatever year the program runs in.
int lastYear() { return QDate::currentDate().year() + 1; }

const QString kBadDate = QStringLiteral("撮影日付が異常です｡修正してください。");
const QString kDiscardQuestion = QStringLiteral("変更した内容は保存されません。よろしいですか？");
const QString kSaveQuestion = QStringLiteral("変更した内容を保存しますか？");
const QString kWriteFailed = QStringLiteral("E:ｺﾒﾝﾄおよびﾀｲﾄﾙを保存できませんでした.(ﾃﾞｨｽｸに書き込めません)");

UpDown* dateCounter(const char* counterName, const char* editName, int minimum, int maximum)
{
    auto* counter =
        new UpDown(QString::fromLatin1(counterName), QString::fromLatin1(editName), minimum, maximum);
    counter->edit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    return counter;
}

// The comment as the record keeps it (CR LF) and as the field shows it (LF).
QString recordLines(const QString& fieldText)
{
    return QString(fieldText).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}
QString fieldLines(const QString& recordText)
{
    return QString(recordText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The field's text exactly as typed, lines ended by LF: toPlainText() would
// turn a no-break space into a plain one.
QString fieldText(const QPlainTextEdit& edit)
{
    QString text = edit.document()->toRawText();
    return text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
}

}  // namespace

TfrCom::TfrCom(QWidget* parent)
    : QDialog(parent), m_title(new QLineEdit),
      m_year(dateCounter("ud_nen", "tx_nen", kFirstYear, lastYear())),
      m_month(dateCounter("ud_tuki", "tx_tuki", 1, 12)), m_day(dateCounter("ud_hi", "tx_hi", 1, 31)),
      m_comment(new QPlainTextEdit), m_prev(new QPushButton(QStringLiteral("<< 前の画像(&B)"))),
      m_next(new QPushButton(QStringLiteral("次の画像(&N) >>")))
{
    setObjectName(QStringLiteral("frCom"));
    // A fixed single border with only the system menu and the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    m_title->setObjectName(QStringLiteral("tx_title"));
    m_comment->setObjectName(QStringLiteral("tx_com"));
    m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* menuBar = new QMenuBar(this);
    QMenu* closeMenu = menuBar->addMenu(QStringLiteral("閉じる(&C)"));
    closeMenu->setObjectName(QStringLiteral("mnuClose"));
    QAction* saveClose =
        closeMenu->addAction(QStringLiteral("保存して閉じる(&C)"), this, &TfrCom::mnuSaveCloseClick);
    saveClose->setObjectName(QStringLiteral("mnuSaveClose"));
    QAction* discard = closeMenu->addAction(QStringLiteral("破棄(&A)"), this, &TfrCom::mnuHakiClick);
    discard->setObjectName(QStringLiteral("mnuHaki"));

    auto* date = new QHBoxLayout;
    for (auto [counter, unit] : {std::pair{m_year, "年"}, {m_month, "月"}, {m_day, "日"}}) {
        date->addWidget(counter);
        date->addWidget(new QLabel(QString::fromUtf8(unit)));
    }
    date->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(new QLabel(QStringLiteral("タイトル：")));
    layout->addWidget(m_title);
    layout->addWidget(new QLabel(QStringLiteral("撮影(取込)日付：")));
    layout->addLayout(date);
    layout->addWidget(new QLabel(QStringLiteral("コメント：")));
    layout->addWidget(m_comment, 1);
    m_prev->setObjectName(QStringLiteral("bt_comPrev"));
    m_next->setObjectName(QStringLiteral("bt_comNext"));
    m_prev->setAutoDefault(false);
    m_next->setAutoDefault(false);
    connect(m_prev, &QPushButton::clicked, this, &TfrCom::bt_comPrevClick);
    connect(m_next, &QPushButton::clicked, this, &TfrCom::bt_comNextClick);
    auto* steps = new QHBoxLayout;
    steps->addWidget(m_prev);
    steps->addStretch(1);
    steps->addWidget(m_next);
    layout->addLayout(steps);

    // Any change of a date field counts, also one made with the arrows.
    for (UpDown* counter : {m_year, m_month, m_day}) {
        QLineEdit* edit = counter->edit();
        connect(edit, &QLineEdit::textChanged, this, [this, edit] {
            if (!m_loading)
                edit->setModified(true);
        });
    }

    setFixedSize(kClientWidth, kClientHeight + menuBar->sizeHint().height());
}

void TfrCom::showEvent(QShowEvent* event)
{
    if (!m_loaded) {
        m_loaded = true;
        loadFields();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TfrCom::setPictures(const QStringList& paths, int current)
{
    m_paths = paths;
    m_current = std::clamp(current, 0, std::max(0, int(paths.size()) - 1));
    m_path = m_paths.value(m_current);
    // One picture: nothing to step to.
    m_prev->setVisible(m_paths.size() > 1);
    m_next->setVisible(m_paths.size() > 1);
    m_prev->setEnabled(m_current > 0);
    m_next->setEnabled(m_current + 1 < m_paths.size());
}

void TfrCom::stepTo(int index)
{
    if (index < 0 || index >= m_paths.size() || index == m_current)
        return;
    // A failed write keeps the editor on this picture, with the user's text.
    if (anyModified() && platform::askYesNo(kSaveQuestion) && !save())
        return;
    setPictures(m_paths, index);
    loadFields();
}

void TfrCom::loadFields()
{
    COMKATA record;
    ReadComment(m_path, record);
    m_loading = true;
    m_title->setText(record.title);
    m_year->edit()->setText(record.year);
    m_month->edit()->setText(record.month);
    m_day->edit()->setText(record.day);
    m_comment->setPlainText(fieldLines(record.comment));
    m_loading = false;
    for (QLineEdit* edit : {m_title, m_year->edit(), m_month->edit(), m_day->edit()})
        edit->setModified(false);
    m_comment->document()->setModified(false);
    setWindowTitle(QStringLiteral("ｺﾒﾝﾄの編集 [") + QFileInfo(m_path).fileName() + QStringLiteral("]"));
}

bool TfrCom::anyModified() const
{
    return m_title->isModified() || m_year->edit()->isModified() || m_month->edit()->isModified() ||
           m_day->edit()->isModified() || m_comment->document()->isModified();
}

bool TfrCom::save()
{
    COMKATA record;
    record.title = m_title->text();
    record.year = m_year->edit()->text();
    record.month = m_month->edit()->text();
    record.day = m_day->edit()->text();
    record.comment = recordLines(fieldText(*m_comment));
    if (WriteComment(m_path, record) == 0)
        return true;
    platform::showError(kWriteFailed);
    return false;
}

void TfrCom::mnuSaveCloseClick()
{
    const QString date = m_year->edit()->text() + QLatin1Char('/') + m_month->edit()->text() +
                         QLatin1Char('/') + m_day->edit()->text();
    if (!ParseDateTimeText(date)) {
        platform::showInformation(kBadDate);
        return;
    }
    // After a failed write the editor stays open with the user's text, to
    // try again or discard it.
    if (!save())
        return;
    m_handled = true;
    accept();
}

void TfrCom::mnuHakiClick()
{
    if (anyModified() && !platform::askYesNo(kDiscardQuestion))
        return;
    m_handled = true;
    QDialog::reject();
}

void TfrCom::reject()
{
    if (!m_handled && anyModified() && platform::askYesNo(kSaveQuestion))
        save();
    m_handled = true;
    QDialog::reject();
}

bool editPictureComment(QWidget* owner, const QStringList& paths)
{
    if (paths.isEmpty() || paths.first().isEmpty())
        return false;
    TfrCom editor(owner);
    editor.setPictures(paths, 0);
    editor.exec();
    return true;
}
