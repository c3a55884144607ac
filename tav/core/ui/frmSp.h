// The splash window TfrSp: borderless, on top and centred while the program
// starts, with the version label lb_ver and a short legal notice. Its timer
// sp_tt (4 s) is started by the caller; when it fires the window closes and
// destroys itself.
#pragma once

#include <QFrame>

class QLabel;
class QTimer;

class TfrSp : public QFrame {
    Q_OBJECT
public:
    explicit TfrSp(QWidget* parent = nullptr);

    void setVersion(const QString& text);
    // Starts the timer after which the window closes.
    void startCloseTimer();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void sp_ttTimer();

    QLabel* m_version = nullptr;
    QTimer* m_timer = nullptr;
};
