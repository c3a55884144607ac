// What a picture costs through GV beyond its decode. For each sample: the
// median time of TgvDDE::FetchDib with the real gv, GV's decoder run in this
// process, and `gm convert FILE bmp:-` for scale; then the overhead alone,
// measured against a GV service in this process whose "decode" is a copy of
// the ready picture (the copy's own time subtracted), which a busy machine
// disturbs far less than the difference of two decodes.
// Run: gv_overhead_bench [runs]
#include "gv/GvDecoder.h"
#include "gv/GvService.h"
#include "platform/DdeServer.h"
#include "platform/PlatformPaths.h"
#include "tav/imaging/gvDDE6.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace {

volatile unsigned sink = 0;

double medianMs(int runs, const std::function<bool()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!work())
            return -1;
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool gm(const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("gm"), arguments);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return false;
    if (output)
        *output = p.readAllStandardOutput();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tav-gvbench-XXXXXX"));
    qputenv(platform::kSandboxVariable, QFile::encodeName(dir.path()));
    gv::initializeDecoder(argv[0]);

    struct Sample {
        const char* name;
        const char* size;
    };
    const Sample samples[] = {
        {"small.gif", "64x64"}, {"photo.gif", "4000x3000"}, {"photo.webp", "4000x3000"}};

    TgvDDE link;
    link.SetGvOptions(1, QCoreApplication::applicationDirPath() + QStringLiteral("/gv"));
    std::printf("%-12s %10s %10s %10s %12s\n", "picture", "decode ms", "GV ms", "overhead", "gm->bmp ms");
    for (const Sample& s : samples) {
        const QString path = dir.filePath(QString::fromLatin1(s.name));
        if (!gm({QStringLiteral("convert"), QStringLiteral("-size"), QString::fromLatin1(s.size),
                 QStringLiteral("gradient:red-blue"), QStringLiteral("-swirl"), QStringLiteral("90"),
                 path})) {
            std::fprintf(stderr, "gm convert failed for %s\n", s.name);
            return 1;
        }
        if (!link.FetchDib(path)) {  // starts GV and warms its caches
            std::fprintf(stderr, "GV did not load %s\n", s.name);
            return 1;
        }
        const double decode = medianMs(runs, [&] { return bool(gv::decodeToDib(path)); });
        const double viaGv = medianMs(runs, [&] { return bool(link.FetchDib(path)); });
        const double gmBmp = medianMs(std::min(runs, 3), [&] {
            QByteArray out;
            return gm({QStringLiteral("convert"), path, QStringLiteral("bmp:-")}, &out) && !out.isEmpty();
        });
        std::printf("%-12s %10.2f %10.2f %10.2f %12.2f\n", s.name, decode, viaGv, viaGv - decode, gmBmp);
    }

    std::printf("\n%-12s %10s %10s %10s\n", "picture", "copy ms", "fetch ms", "overhead");
    for (const Sample& s : samples) {
        const platform::DdeBlock ready = gv::decodeToDib(dir.filePath(QString::fromLatin1(s.name)));
        const auto copy = [&] {
            platform::DdeBlock block = platform::DdeBlock::allocate(ready.size());
            std::memcpy(block.data(), ready.data(), ready.size());
            return block;
        };
        platform::DdeServer* running = nullptr;
        gv::GvService service([&](const QString&) { return copy(); }, [&] { running->stop(); });
        platform::DdeServer server(service);
        running = &server;
        if (!server.listen(QStringLiteral("GV")))  // takes the endpoint over from gv
            return 1;
        std::thread serving([&] { server.run(); });
        const QString path = dir.filePath(QString::fromLatin1(s.name));
        const double copyMs = medianMs(runs, [&] {
            const platform::DdeBlock block = copy();
            sink = sink + static_cast<const volatile unsigned char*>(block.data())[block.size() / 2];
            return bool(block);
        });
        const double fetchMs = medianMs(runs, [&] { return bool(link.FetchDib(path)); });
        std::printf("%-12s %10.2f %10.2f %10.2f\n", s.name, copyMs, fetchMs, fetchMs - copyMs);
        server.stop();
        serving.join();
    }
    link.StopGv();
    return 0;
}
