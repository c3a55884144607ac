// The comment editor TfrCom: a modal window that edits the title, shooting
// date and comment of one picture and saves them in its comment file. Opened
// on several selected pictures, it steps to the previous and next of them,
// offering to save what changed as closing does, so a series is captioned in
// one go.
#pragma once

#include <QDialog>

class QAction;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;
class UpDown;

class TfrCom : public QDialog {
    Q_OBJECT
public:
    explicit TfrCom(QWidget* parent = nullptr);

    // The picture whose comment file is edited; set before the window is shown.
    void setPicturePath(const QString& path) { setPictures({path}, 0); }
    // The pictures the editor can step through, and the one it opens on.
    void setPictures(const QStringList& paths, int current);
    const QString& picturePath() const { return m_path; }

    // "前の画像" and "次の画像": offer to save a change, then edit the neighbour.
    void bt_comPrevClick() { stepTo(m_current - 1); }
    void bt_comNextClick() { stepTo(m_current + 1); }

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
    void stepTo(int index);
    bool anyModified() const;
    // Writes the fields; shows the "E:" error and returns false when the file
    // could not be written.
    bool save();

    QString m_path;
    QStringList m_paths;
    int m_current = 0;
    QLineEdit* m_title;
    UpDown* m_year;
    UpDown* m_month;
    UpDown* m_day;
    QPlainTextEdit* m_comment;
    QPushButton* m_prev;
    QPushButton* m_next;
    bool m_loaded = false;
    bool m_loading = false;
    bool m_handled = false;
};

// Shows the comment editor on the first of the selected `paths` (stepping
// through all of them) and releases it when it closes. False (and nothing
// shown) when nothing is selected; otherwise the caller then re-runs its
// file-view click handling.
bool editPictureComment(QWidget* owner, const QStringList& paths);
