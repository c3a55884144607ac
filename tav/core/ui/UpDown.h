// A counter with its edit field, as the main window's forms pair them: the
// counter (object name "ud_...") holds a position clamped to its range, the
// edit field (object name "tx_..." or another name the form gives) holds text
// the user may type freely. Stepping the counter writes its position into the
// field; typing a whole number within range into the field moves the counter.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(const QString& counterName, const QString& editName, int minimum, int maximum,
           QWidget* parent = nullptr);

    int position() const { return m_position; }
    void setPosition(int position);  // clamped to the range; updates the field
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    QLineEdit* edit() const { return m_edit; }

signals:
    void positionChanged(int position);

protected:
    void changeEvent(QEvent* event) override;

private:
    void step(int delta);
    void editTextChanged(const QString& text);

    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_min;
    int m_max;
    int m_position;
};
