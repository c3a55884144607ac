// The comment editor TfrCom: a modal window that edits the title, shooting
// date and comment of one picture and saves them in its comment file.
#pragma once

#include <QDialog>

class QAction;
class QLineEdit;
class QPlainTextEdit;
class UpDown;

class TfrCom : public QDialog {
    Q_OBJECT
public:
    explicit TfrCom(QWidget* parent = nullptr);

    // The picture whose comment file is edited; set before the window is shown.
    void setPicturePath(const QString& path) { m_path = path; }

    // "保存して閉じる(&C)": checks the date, saves and closes.
    void mnuSaveCloseClick();
    // "破棄(&A)": closes without saving, after a question when anything changed.
    void mnuHakiClick();

    // Closing by the close box or ESC: offers to save what changed, then closes.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadFields();
    bool anyModified() const;
    // Writes the fields; shows the "E:" error and returns false when the file
    // could not be written.
    bool save();

    QString m_path;
    QLineEdit* m_title;
    UpDown* m_year;
    UpDown* m_month;
    UpDown* m_day;
    QPlainTextEdit* m_comment;
    bool m_loaded = false;
    bool m_loading = false;
    bool m_handled = false;
};

// Shows the comment editor for the picture at `path` and releases it when it
// closes. False (and nothing shown) when `path` is empty, i.e. nothing is
// selected; the caller then re-runs its file-view click handling.
bool editPictureComment(QWidget* owner, const QString& path);
