// GV, the viewer Tav borrows for the formats its imaging library cannot read.
// Started with " /DDE" it shows no window and serves Tav over DDE until told
// to exit; started on its own it records where it is and exits.
#include "gv/GvDecoder.h"
#include "gv/GvRegister.h"
#include "gv/GvService.h"
#include "platform/DdeServer.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool serve = false;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        serve = serve || argument.compare(QLatin1String("/DDE"), Qt::CaseInsensitive) == 0;

    if (!serve) {
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
        if (!gv::registerGv(platform::Registry::current(), self)) {
            std::fprintf(stderr, "gv: could not record the program path\n");
            return 1;
        }
        std::printf("GV %s: %s\n", gv::kGvVersion, qPrintable(self));
        return 0;
    }

    gv::initializeDecoder(argv[0]);
    platform::DdeServer* running = nullptr;
    gv::GvService service(gv::decodeToDib, [&running] { running->stop(); });
    platform::DdeServer server(service);
    running = &server;
    if (!server.listen(QStringLiteral("GV"))) {
        std::fprintf(stderr, "gv: could not offer the DDE service\n");
        return 2;
    }
    server.run();
    return 0;
}
