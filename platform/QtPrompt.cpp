// Message boxes and common dialogs with Qt widgets. Dialogs are parented to
// the active window so they stay above it.
#include "platform/QtPrompt.h"

#include "platform/FontChooser.h"
#include "platform/FontSpecQt.h"

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QProgressDialog>
#include <limits>

namespace platform {

namespace {

QWidget* parentWindow() { return QApplication::activeWindow(); }

QString captionOr(const QString& caption)
{
    if (!caption.isEmpty())
        return caption;
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Tav") : name;
}

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The first button is the default one, the second (if any) the ESC answer.
std::pair<QMessageBox::StandardButton, QMessageBox::StandardButton> buttonsFor(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return {QMessageBox::Ok, QMessageBox::NoButton};
    case Buttons::Yes: return {QMessageBox::Yes, QMessageBox::NoButton};
    case Buttons::OkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo: return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesAbort: return {QMessageBox::Yes, QMessageBox::Abort};
    }
    return {QMessageBox::Ok, QMessageBox::NoButton};
}

// The box appears only once the work has taken longer than
// QtPrompt::kProgressDelayMs, so that quick loads in a batch do not flash a
// window for every picture.
class QtProgress : public ProgressBox {
public:
    QtProgress(const QString& caption, const QString& text, const QString& cancelText)
        : m_dialog(text, cancelText, 0, 100, parentWindow())
    {
        m_dialog.setWindowTitle(captionOr(caption));
        if (cancelText.isEmpty())
            m_dialog.setCancelButton(nullptr);
        m_dialog.setWindowModality(Qt::NonModal);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        // The dialog would show itself on a guess of its own; it is shown here.
        m_dialog.setMinimumDuration(std::numeric_limits<int>::max());
        m_dialog.hide();
        m_clock.start();
    }
    void setPercent(int percent) override
    {
        if (!m_dialog.isVisible() && percent < 100 && m_clock.elapsed() >= QtPrompt::kProgressDelayMs) {
            m_dialog.show();
            m_dialog.raise();
        }
        if (!m_dialog.isVisible())
            return;
        m_dialog.setValue(qBound(0, percent, 100));
        QCoreApplication::processEvents();
    }
    bool cancelled() const override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
    QElapsedTimer m_clock;
};

}  // namespace

Answer QtPrompt::message(MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
{
    const auto [first, second] = buttonsFor(buttons);
    QMessageBox box(iconFor(kind), captionOr(caption), text, first | second, parentWindow());
    box.setDefaultButton(first);
    box.setEscapeButton(second == QMessageBox::NoButton ? first : second);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Abort: return Answer::Abort;
    default: return defaultAnswer(buttons);
    }
}

bool QtPrompt::printDialog(QPrinter* printer)
{
    QPrintDialog dialog(printer, parentWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompt::printerSetupDialog(QPrinter* printer)
{
    QPageSetupDialog dialog(printer, parentWindow());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtPrompt::openFile(const OpenFileRequest& request)
{
    const QString path =
        QFileDialog::getOpenFileName(parentWindow(), request.title, request.initialPath, request.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPrompt::browseFolder(const QString& title, const QString& initial)
{
    const QString path = QFileDialog::getExistingDirectory(parentWindow(), title, initial);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<FontSpec> QtPrompt::chooseFont(const FontSpec& initial)
{
    FontChooser chooser(initial, parentWindow());
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.result();
}

std::optional<std::uint32_t> QtPrompt::chooseColor(ColorRequest& request)
{
    const int slotCount = qMin(QColorDialog::customCount(), 16);
    for (int i = 0; i < slotCount; ++i) {
        QColorDialog::setCustomColor(i, request.custom[i] ? toQColor(*request.custom[i]) : QColor(Qt::white));
    }
    const QColor chosen = QColorDialog::getColor(toQColor(request.initial), parentWindow());
    if (!chosen.isValid())
        return std::nullopt;
    for (int i = 0; i < slotCount; ++i) {
        const QColor c = QColorDialog::customColor(i);
        // A slot left as the empty white it was given stays empty.
        if (request.custom[i] || c != QColor(Qt::white))
            request.custom[i] = toColorRef(c);
    }
    return toColorRef(chosen);
}

std::unique_ptr<ProgressBox> QtPrompt::openProgress(const QString& caption, const QString& text,
                                                    const QString& cancelText)
{
    return std::make_unique<QtProgress>(caption, text, cancelText);
}

}  // namespace platform
