// Tab 9 "ﾀｲﾄﾙとｺﾒﾝﾄ": the read-only title, date and comment of the selected
// picture, its preview, and the button that opens the comment editor.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

#include <QFrame>
#include <QPlainTextEdit>

using namespace form;

namespace {

QLineEdit* readOnlyField(const char* name, int width = 0)
{
    QLineEdit* field = lineEdit(name, QString());
    field->setReadOnly(true);
    if (width > 0)
        field->setFixedWidth(width);
    return field;
}

// The preview keeps its place on the tab while it is hidden.
QFrame* previewFrame(QLabel* picture)
{
    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    frame->setFixedSize(picture->width() + 4, picture->height() + 4);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->addWidget(picture);
    return frame;
}

}  // namespace

QWidget* buildTitlesTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    auto* comment = new QPlainTextEdit;
    comment->setObjectName(QStringLiteral("tx_ticomCom"));
    comment->setReadOnly(true);
    QGroupBox* record =
        group(QStringLiteral("ﾌｧｲﾙ名: 選択されていません."),
              {label(QStringLiteral("タイトル：")), readOnlyField("tx_ticomTitle"),
               label(QStringLiteral("撮影(取込)日付：")),
               row({readOnlyField("tx_ticomNen", 48), QStringLiteral("年"), readOnlyField("tx_ticomTuki", 32),
                    QStringLiteral("月"), readOnlyField("tx_ticomHi", 32), QStringLiteral("日")}),
               label(QStringLiteral("コメント：")), comment});
    record->setObjectName(QStringLiteral("gb_ticom"));

    QLabel* picture = pictureBox("pic3", 200, 150);
    picture->setVisible(false);  // shown while "ﾌﾟﾚﾋﾞｭｰを表示する" is ticked
    auto* preview = new QVBoxLayout;
    preview->addWidget(checkBox("cb_ticom_prv", QStringLiteral("ﾌﾟﾚﾋﾞｭｰを表示する"), false));
    preview->addWidget(previewFrame(picture));
    preview->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(record, 1);
    columns->addLayout(preview);
    layout->addLayout(columns, 1);
    layout->addLayout(commandRow({button("Button4", QStringLiteral("ﾀｲﾄﾙとｺﾒﾝﾄを編集する"))}));
    return tab;
}
