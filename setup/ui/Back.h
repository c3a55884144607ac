// TfrmBack: the full-screen backdrop behind the installer's windows, a
// gradient with the product title and its credit lines.
#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class TGradBox;

// "Ondo! Setup 98 Standard Version" followed by the version "major.minor.release.build"
// as major + "." + minor and release digits as one number ("00") + "(Build:" + build
// ("0000") + ")". Missing or unreadable parts count as 0.
QString backdropCaption(const QString& version);

// The credit text of the backdrop from the two credit lines of the script.
QString creditText(const QString& copyRight1, const QString& copyRight2);

class TfrmBack : public QWidget {
    Q_OBJECT
public:
    // `version` is the program's version text, "1.0.2.15".
    explicit TfrmBack(const QString& version, QWidget* parent = nullptr);

    // Shows the title (install or uninstall title) and the credit, placed at
    // the lower right corner.
    void showTitles(const QString& title, const QString& credit);

    // Run once, after the backdrop is first shown at full-screen size: shows the main
    // window modally; the backdrop closes when it returns.
    std::function<void()> runMainWindow;

    TGradBox* GradBox;
    QLabel* lblBackTitle2;
    QLabel* lblBackTitle1;
    QLabel* lblPrgTitle2;
    QLabel* lblPrgTitle1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void firstShow();

    QString m_version;
    bool m_started = false;
};
