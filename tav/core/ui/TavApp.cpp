// Program start: the application object, then the main window, then the
// message loop until the main window closes.
#include "tav/core/ui/frmSp.h"
#include "tav/core/ui/main.h"

#include "platform/PictureMemory.h"
#include "platform/QtPrompt.h"
#include "tav/core/TavVersion.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    platform::tuneAllocatorForPictures();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tav"));
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    // Qt's own dialogs and buttons (print dialog, "はい"/"いいえ") in Japanese,
    // like every text of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    platform::QtPrompt prompts;
    platform::setPrompts(&prompts);

    // The splash closes and deletes itself four seconds after it appears.
    auto* splash = new TfrSp;
    splash->setVersion(QStringLiteral(" Ver") + QLatin1String(kTavVersion));
    splash->show();
    splash->startCloseTimer();
    splash->repaint();
    QApplication::processEvents();

    TfrTav window(MainWindowEnvironment::fromPlatform());
    window.show();
    window.showHintsAtStartUp();
    const int result = app.exec();
    platform::setPrompts(nullptr);
    return result;
}
