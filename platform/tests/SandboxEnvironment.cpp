#include "platform/tests/SandboxEnvironment.h"

#include "platform/PlatformPaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <memory>

namespace platform::test {

namespace {

class SandboxEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tav-platform-XXXXXX");
        ASSERT_TRUE(m_dir->isValid());
        qputenv(kSandboxVariable, QFile::encodeName(m_dir->path()));
    }
    void TearDown() override
    {
        qunsetenv(kSandboxVariable);
        m_dir.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new SandboxEnvironment);

}  // namespace

QString sandbox() { return sandboxRoot(); }

QString freshFolder()
{
    const QString folder = sandbox() + "/work-" + QUuid::createUuid().toString(QUuid::Id128);
    QDir().mkpath(folder);
    return folder;
}

}  // namespace platform::test
