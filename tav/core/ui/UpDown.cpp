#include "tav/core/ui/UpDown.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

// The field is as wide as the longest number of the range, plus room for the frame.
int fieldWidth(const QLineEdit* edit, int minimum, int maximum)
{
    const QFontMetrics metrics = edit->fontMetrics();
    const int widest = std::max(metrics.horizontalAdvance(QString::number(minimum)),
                                metrics.horizontalAdvance(QString::number(maximum)));
    return widest + metrics.horizontalAdvance(QLatin1Char('0')) + 12;
}

QToolButton* arrowButton(Qt::ArrowType arrow)
{
    auto* button = new QToolButton;
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(14, 10);
    return button;
}

// Steps the counter when Up or Down is pressed in its field.
class StepKeys : public QObject {
public:
    StepKeys(QObject* parent, std::function<void(int)> step) : QObject(parent), m_step(std::move(step)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                m_step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> m_step;
};

}  // namespace

UpDown::UpDown(const QString& counterName, const QString& editName, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit), m_up(arrowButton(Qt::UpArrow)),
      m_down(arrowButton(Qt::DownArrow)), m_min(std::min(minimum, maximum)),
      m_max(std::max(minimum, maximum)), m_position(std::clamp(0, m_min, m_max))
{
    setObjectName(counterName);
    m_edit->setObjectName(editName);
    m_edit->setFixedWidth(fieldWidth(m_edit, m_min, m_max));
    m_edit->setText(QString::number(m_position));

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addLayout(arrows);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_edit, &QLineEdit::textChanged, this, &UpDown::editTextChanged);
    m_edit->installEventFilter(new StepKeys(this, [this](int delta) { step(delta); }));
}

void UpDown::setPosition(int position)
{
    const int clamped = std::clamp(position, m_min, m_max);
    const bool changed = clamped != m_position;
    m_position = clamped;
    const QString text = QString::number(m_position);
    if (m_edit->text() != text)
        m_edit->setText(text);
    if (changed)
        emit positionChanged(m_position);
}

void UpDown::changeEvent(QEvent* event)
{
    // The field follows the font the window gives its controls.
    if (event->type() == QEvent::FontChange)
        m_edit->setFixedWidth(fieldWidth(m_edit, m_min, m_max));
    QWidget::changeEvent(event);
}

void UpDown::step(int delta)
{
    // A whole number in the field, even one out of range, is where the step
    // starts (clamped to the range), not where the counter last was.
    bool ok = false;
    const int typed = m_edit->text().trimmed().toInt(&ok, 10);
    setPosition((ok ? std::clamp(typed, m_min, m_max) : m_position) + delta);
}

void UpDown::editTextChanged(const QString& text)
{
    // Only a whole number within the range moves the counter; any other text
    // stays in the field as typed, for the settings and the commands to judge.
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < m_min || value > m_max || value == m_position)
        return;
    m_position = value;
    emit positionChanged(m_position);
}
