// TfrmStatus: the progress window of the install and uninstall runs.
#pragma once

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

class TfrmStatus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStatus(QWidget* parent = nullptr);

    // The status line of the runs.
    void setMessage(const QString& text);
    // The gauge at `percent` with its label ("50%(2/4)").
    void setGauge(int percent, const QString& label);
    void showGauge(bool visible);

    // Called when the user confirmed the abort question.
    std::function<void()> onAbortConfirmed;

    QGroupBox* grpMessage;
    QLabel* lblMessage;
    QGroupBox* fraStatus;
    QProgressBar* prgStatus;
    QLabel* lblStatus;
    QPushButton* btnAbort;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void btnAbortClick();
};
