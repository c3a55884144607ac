// Program start: the application object, then the main window, then the
// message loop until the main window closes.
#include "main.h"

#include "QtPrompt.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tav"));
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    platform::QtPrompt prompts;
    platform::setPrompts(&prompts);

    TfrTav window(MainWindowEnvironment::fromPlatform());
    window.show();
    const int result = app.exec();
    platform::setPrompts(nullptr);
    return result;
}
