// TfrmCustomDlg: the uninstaller's four-button question about deleting a file.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmCustomDlg : public QDialog {
    Q_OBJECT
public:
    // `answer` is the main window's lblFormShare, where each button writes its answer.
    explicit TfrmCustomDlg(QLabel* answer, QWidget* parent = nullptr);

    // Clears the answer (unless it holds "Delete" or "Save", which stand for the
    // rest of the run), shows `message` modally and returns the answer:
    // "Yes", "No", "Delete", "Save", or "" when the window was closed otherwise.
    QString ask(const QString& message);

    QLabel* lblMessage;
    QPushButton* btnYes;
    QPushButton* btnNo;
    QPushButton* btnDelete;
    QPushButton* btnSave;

private:
    void answerWith(const QString& word);

    QLabel* m_answer;
};
