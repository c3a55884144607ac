#include "setup/ui/Back.h"

#include "setup/ui/GradBox.h"
#include "setup/ui/SetupFonts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

QString backdropCaption(const QString& version)
{
    const QStringList parts = version.split(u'.');
    auto part = [&](int i) {
        bool ok = false;
        const int value = i < parts.size() ? parts[i].trimmed().toInt(&ok) : 0;
        return ok && value >= 0 ? value : 0;
    };
    const int minorRelease = QStringLiteral("%1%2").arg(part(1)).arg(part(2)).toInt();
    return QStringLiteral("Ondo! Setup 98 Standard Version%1.%2(Build:%3)")
        .arg(part(0))
        .arg(minorRelease, 2, 10, QLatin1Char('0'))
        .arg(part(3), 4, 10, QLatin1Char('0'));
}

QString creditText(const QString& copyRight1, const QString& copyRight2)
{
    if (copyRight1.isEmpty() && copyRight2.isEmpty())
        return QStringLiteral("Ondo! Setup 200x\r\nCopyright (C) Kavano");
    return copyRight1 + QStringLiteral("\r\n") + copyRight2;
}

namespace {

QLabel* titleLabel(QWidget* parent, const char* name, const QFont& font, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

TfrmBack::TfrmBack(const QString& version, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint),
      m_version(version)
{
    setObjectName(QStringLiteral("frmBack"));
    setWindowTitle(QStringLiteral("Ondo! Setup 98"));
    setWindowIcon(QApplication::windowIcon());
    setFont(setupui::formFont(setupui::kPGothic, 12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    // Disabled while the main window is open, so that its close question can
    // tell an unfinished run from a finished one.
    setEnabled(false);

    GradBox = new TGradBox(this);
    GradBox->setObjectName(QStringLiteral("GradBox"));
    GradBox->setStartColor(Qt::blue);
    GradBox->setEndColor(Qt::black);
    GradBox->setGradStep(128);
    GradBox->setDirection(TGradDirection::gdVertical);

    const QFont titleFont = setupui::formFont(setupui::kPGothic, 32, true);
    lblBackTitle2 = titleLabel(this, "lblBackTitle2", titleFont, QColor(0, 128, 0));
    lblBackTitle1 = titleLabel(this, "lblBackTitle1", titleFont, Qt::white);
    lblBackTitle1->move(16, 16);
    lblBackTitle2->move(18, 18);
    const QFont creditFont = setupui::formFont(setupui::kPMincho, 16, true);
    lblPrgTitle2 = titleLabel(this, "lblPrgTitle2", creditFont, Qt::blue);
    lblPrgTitle1 = titleLabel(this, "lblPrgTitle1", creditFont, Qt::white);
    lblPrgTitle2->hide();
    lblPrgTitle1->hide();
}

void TfrmBack::resizeEvent(QResizeEvent*) { GradBox->setGeometry(rect()); }

void TfrmBack::showEvent(QShowEvent*)
{
    if (m_started)
        return;
    m_started = true;
    // Without a window manager to maximize it, the backdrop covers the screen itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && width() < screen->geometry().width())
        setGeometry(screen->geometry());
    // Leave the show first, so the backdrop is painted under the main window.
    QTimer::singleShot(0, this, &TfrmBack::firstShow);
}

void TfrmBack::firstShow()
{
    setWindowTitle(backdropCaption(m_version));
    lblBackTitle2->move(lblBackTitle1->pos() + QPoint(2, 2));
    lblBackTitle1->update();
    lblBackTitle2->update();
    if (runMainWindow)
        runMainWindow();
    close();
}

void TfrmBack::showTitles(const QString& title, const QString& credit)
{
    const QString shown = QString(credit).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lblPrgTitle1->setText(shown);
    lblPrgTitle1->adjustSize();
    lblPrgTitle1->resize(lblPrgTitle1->width() + 8, lblPrgTitle1->height());
    lblPrgTitle1->move(width() - lblPrgTitle1->width() - 24, height() - lblPrgTitle1->height() - 48);
    lblPrgTitle2->setText(shown);
    lblPrgTitle2->setGeometry(lblPrgTitle1->geometry().translated(2, 2));
    lblPrgTitle2->show();
    lblPrgTitle1->show();
    lblPrgTitle1->raise();

    for (QLabel* label : {lblBackTitle1, lblBackTitle2}) {
        label->setText(title);
        label->resize(width() - 24, label->sizeHint().height());
    }
    lblBackTitle1->raise();
}
