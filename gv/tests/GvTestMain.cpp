// GV's tests run in a sandbox folder of their own, with the decoder ready.
#include "gv/GvDecoder.h"
#include "platform/PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir sandbox(QDir::tempPath() + QStringLiteral("/tav-gv-XXXXXX"));
    qputenv(platform::kSandboxVariable, QFile::encodeName(sandbox.path()));
    gv::initializeDecoder(argv[0]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
