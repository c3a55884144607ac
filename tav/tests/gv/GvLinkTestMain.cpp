// The link tests run with an event loop's application object, as the
// program does, and in a sandbox folder of their own.
#include "platform/PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir sandbox(QDir::tempPath() + QStringLiteral("/tav-gvlink-XXXXXX"));
    qputenv(platform::kSandboxVariable, QFile::encodeName(sandbox.path()));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
