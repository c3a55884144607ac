#include "setup/ui/CusDlg.h"

#include "setup/ui/FitLabel.h"
#include "setup/ui/SetupFonts.h"
#include "setup/ui/ShownText.h"

#include <QLabel>
#include <QPushButton>

TfrmCustomDlg::TfrmCustomDlg(QLabel* answer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_answer(answer)
{
    setObjectName(QStringLiteral("frmCustomDlg"));
    setWindowTitle(QStringLiteral("ファイル削除の確認"));
    setFont(setupui::formFont(setupui::kPGothic, 12));
    setFixedSize(426, 121);
    setModal(true);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setGeometry(8, 8, 409, 73);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    struct ButtonLayout {
        QPushButton** button;
        const char* name;
        QString caption;
        QString word;
        int left;
    };
    const ButtonLayout layouts[] = {
        {&btnYes, "btnYes", QStringLiteral("はい(&Y)"), QStringLiteral("Yes"), 8},
        {&btnNo, "btnNo", QStringLiteral("いいえ(&N)"), QStringLiteral("No"), 112},
        {&btnDelete, "btnDelete", QStringLiteral("すべて削除(&D)"), QStringLiteral("Delete"), 216},
        {&btnSave, "btnSave", QStringLiteral("すべて保存(&A)"), QStringLiteral("Save"), 320},
    };
    for (const ButtonLayout& b : layouts) {
        auto* button = new QPushButton(b.caption, this);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.left, 88, 97, 25);
        button->setAutoDefault(false);
        const QString word = b.word;
        connect(button, &QPushButton::clicked, this, [this, word] { answerWith(word); });
        *b.button = button;
    }
}

QString TfrmCustomDlg::ask(const QString& message)
{
    const QString held = m_answer->text();
    if (held != QLatin1String("Delete") && held != QLatin1String("Save"))
        m_answer->clear();
    lblMessage->setText(shownText(message));
    // The question's path and four lines take more than the form's room.
    QList<QWidget*> buttons{btnYes, btnNo, btnDelete, btnSave};
    fitLabelHeight(lblMessage, {}, buttons, this);
    exec();
    return m_answer->text();
}

void TfrmCustomDlg::answerWith(const QString& word)
{
    m_answer->setText(word);
    accept();
}
