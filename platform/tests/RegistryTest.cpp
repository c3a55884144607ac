#include "platform/Registry.h"

#include "platform/PlatformPaths.h"
#include "platform/tests/SandboxEnvironment.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace platform::test;

namespace {

class RegistryTest : public testing::Test {
protected:
    QString file = freshFolder() + "/registry.sqlite3";
    Registry reg{file};
};

}  // namespace

TEST_F(RegistryTest, NestedKeysAreCreatedWithTheirParentsAndFoundWithoutRegardToCase)
{
    ASSERT_TRUE(reg.isOpen());
    ASSERT_TRUE(reg.createKey(RegRoot::CurrentUser, "Software\\Kavano\\GV"));
    EXPECT_TRUE(reg.keyExists(RegRoot::CurrentUser, "software\\KAVANO"));
    EXPECT_TRUE(reg.keyExists(RegRoot::CurrentUser, "SOFTWARE\\kavano\\gv"));
    EXPECT_FALSE(reg.keyExists(RegRoot::LocalMachine, "Software\\Kavano"));
    ASSERT_TRUE(reg.createKey(RegRoot::CurrentUser, "SOFTWARE\\KAVANO\\Tav"));
    // The spelling of creation is kept, in creation order.
    EXPECT_EQ(reg.subKeyNames(RegRoot::CurrentUser, "software\\kavano"), (QStringList{"GV", "Tav"}));
    EXPECT_EQ(reg.subKeyNames(RegRoot::CurrentUser, ""), QStringList{"Software"});
    EXPECT_TRUE(reg.keyExists(RegRoot::ClassesRoot, ""));
}

TEST_F(RegistryTest, ValuesOfEveryTypeRoundTrip)
{
    const QString key = "Software\\Kavano\\GV";
    ASSERT_TRUE(reg.createKey(RegRoot::CurrentUser, key));
    const QByteArray bytes("\x00\x01\xff\x7f", 4);
    ASSERT_TRUE(reg.setValue(RegRoot::CurrentUser, key, "", RegValue::string(QStringLiteral("既定"))));
    ASSERT_TRUE(reg.setValue(RegRoot::CurrentUser, key, "Path", RegValue::expandString("%HOME%\\gv")));
    ASSERT_TRUE(reg.setValue(RegRoot::CurrentUser, key, "Count", RegValue::dword(0xFFFFFFFFu)));
    ASSERT_TRUE(reg.setValue(RegRoot::CurrentUser, key, "Blob", RegValue::binary(bytes)));

    const auto def = reg.value(RegRoot::CurrentUser, key, "");
    ASSERT_TRUE(def);
    EXPECT_EQ(def->type, RegType::String);
    EXPECT_EQ(def->text, QStringLiteral("既定"));
    const auto path = reg.value(RegRoot::CurrentUser, key, "path");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->type, RegType::ExpandString);
    EXPECT_EQ(path->text, "%HOME%\\gv");
    const auto count = reg.value(RegRoot::CurrentUser, key, "COUNT");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->type, RegType::Dword);
    EXPECT_EQ(count->number, 0xFFFFFFFFu);
    const auto blob = reg.value(RegRoot::CurrentUser, key, "blob");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->type, RegType::Binary);
    EXPECT_EQ(blob->bytes, bytes);
    EXPECT_FALSE(reg.value(RegRoot::CurrentUser, key, "Absent"));

    // Overwriting changes type and data but keeps the name's spelling and place.
    ASSERT_TRUE(reg.setValue(RegRoot::CurrentUser, key, "PATH", RegValue::dword(7)));
    EXPECT_EQ(reg.valueNames(RegRoot::CurrentUser, key), (QStringList{"", "Path", "Count", "Blob"}));
    EXPECT_EQ(reg.value(RegRoot::CurrentUser, key, "path")->number, 7u);

    ASSERT_TRUE(reg.deleteValue(RegRoot::CurrentUser, key, "count"));
    EXPECT_FALSE(reg.deleteValue(RegRoot::CurrentUser, key, "count"));
    EXPECT_EQ(reg.valueNames(RegRoot::CurrentUser, key), (QStringList{"", "Path", "Blob"}));
}

TEST_F(RegistryTest, ValuesNeedAnExistingKey)
{
    EXPECT_FALSE(reg.setValue(RegRoot::CurrentUser, "No\\Such", "x", RegValue::dword(1)));
    EXPECT_FALSE(reg.keyExists(RegRoot::CurrentUser, "No"));
}

TEST_F(RegistryTest, DeleteKeyRemovesSubKeysAndValuesButNotNamesalikes)
{
    ASSERT_TRUE(reg.createKey(RegRoot::LocalMachine, "Software\\A\\B\\C"));
    ASSERT_TRUE(reg.createKey(RegRoot::LocalMachine, "Software\\AB"));
    ASSERT_TRUE(reg.createKey(RegRoot::LocalMachine, "Software\\A_"));
    ASSERT_TRUE(reg.setValue(RegRoot::LocalMachine, "Software\\A\\B\\C", "v", RegValue::dword(1)));
    ASSERT_TRUE(reg.setValue(RegRoot::LocalMachine, "Software\\AB", "v", RegValue::dword(2)));

    ASSERT_TRUE(reg.deleteKey(RegRoot::LocalMachine, "software\\a"));
    EXPECT_FALSE(reg.keyExists(RegRoot::LocalMachine, "Software\\A"));
    EXPECT_FALSE(reg.keyExists(RegRoot::LocalMachine, "Software\\A\\B\\C"));
    EXPECT_TRUE(reg.keyExists(RegRoot::LocalMachine, "Software\\AB"));
    EXPECT_TRUE(reg.keyExists(RegRoot::LocalMachine, "Software\\A_"));
    EXPECT_EQ(reg.value(RegRoot::LocalMachine, "Software\\AB", "v")->number, 2u);
    EXPECT_EQ(reg.subKeyNames(RegRoot::LocalMachine, "Software"), (QStringList{"AB", "A_"}));

    // Re-created, the key starts empty.
    ASSERT_TRUE(reg.createKey(RegRoot::LocalMachine, "Software\\A\\B\\C"));
    EXPECT_TRUE(reg.valueNames(RegRoot::LocalMachine, "Software\\A\\B\\C").isEmpty());
    EXPECT_FALSE(reg.deleteKey(RegRoot::LocalMachine, "Software\\Nothing"));
    EXPECT_FALSE(reg.deleteKey(RegRoot::LocalMachine, ""));
}

TEST_F(RegistryTest, ContentPersistsAcrossStoresOnTheSameFile)
{
    ASSERT_TRUE(reg.createKey(RegRoot::Users, "S-1\\Prefs"));
    ASSERT_TRUE(reg.setValue(RegRoot::Users, "S-1\\Prefs", "Name", RegValue::string("x")));
    {
        Registry other(file);
        ASSERT_TRUE(other.isOpen());
        EXPECT_EQ(other.value(RegRoot::Users, "s-1\\prefs", "name")->text, "x");
        ASSERT_TRUE(other.setValue(RegRoot::Users, "S-1\\Prefs", "More", RegValue::dword(3)));
    }
    EXPECT_EQ(reg.value(RegRoot::Users, "S-1\\Prefs", "More")->number, 3u);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kValues = 150;
    pid_t children[2] = {};
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            Registry store(file);
            bool ok = store.isOpen();
            for (int i = 0; i < kValues && ok; ++i) {
                const QString key = QString("Shared\\Writer%1\\K%2").arg(c).arg(i % 10);
                ok = store.createKey(RegRoot::CurrentUser, key) &&
                     store.setValue(RegRoot::CurrentUser, key, QString("V%1").arg(i),
                                    RegValue::dword(std::uint32_t(i)));
            }
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kValues; ++i) {
            const QString key = QString("Shared\\Writer%1\\K%2").arg(c).arg(i % 10);
            const auto v = reg.value(RegRoot::CurrentUser, key, QString("V%1").arg(i));
            ASSERT_TRUE(v) << key.toStdString() << " V" << i;
            EXPECT_EQ(v->number, std::uint32_t(i));
        }
    }
    EXPECT_EQ(reg.subKeyNames(RegRoot::CurrentUser, "Shared").size(), 2);
}

TEST(RegistryCurrent, LivesInTheSandbox)
{
    EXPECT_EQ(registryStorePath(), sandbox() + "/registry.sqlite3");
    Registry& reg = Registry::current();
    ASSERT_TRUE(reg.isOpen());
    ASSERT_TRUE(reg.createKey(RegRoot::CurrentUser, "Software\\Kavano"));
    EXPECT_TRUE(Registry(registryStorePath()).keyExists(RegRoot::CurrentUser, "Software\\Kavano"));
}
