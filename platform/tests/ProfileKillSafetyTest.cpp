// A writer killed at random moments never leaves a torn profile file.
#include "platform/ProfileFile.h"

#include "platform/tests/SandboxEnvironment.h"

#include <QDir>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace platform::test;

namespace {

// A large value that names its generation at both ends.
QString bigValue(int generation)
{
    const QString mark = QString::number(generation);
    return mark + u':' + QString(200000, QChar(u'A' + generation % 26)) + u':' + mark;
}

bool isWholeGeneration(const QString& value)
{
    const QStringList parts = value.split(u':');
    if (parts.size() != 3 || parts[0] != parts[2])
        return false;
    bool ok = false;
    const int generation = parts[0].toInt(&ok);
    return ok && value == bigValue(generation);
}

}  // namespace

TEST(ProfileKillSafety, KilledWriterLeavesOldOrNewFileWhole)
{
    const QString folder = freshFolder();
    const QString path = folder + "/tav.Ini";
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString("Head", "First", "1"));
    ASSERT_TRUE(ini.writeString("Data", "Big", bigValue(0)));
    ASSERT_TRUE(ini.writeString("Tail", "Last", "end"));

    int generation = 1;
    for (int round = 0; round < 25; ++round) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ProfileFile writer(path);
            for (int g = generation;; ++g)
                writer.writeString("Data", "Big", bigValue(g));
        }
        usleep(useconds_t(QRandomGenerator::global()->bounded(1000, 40000)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        const ProfileFile reader(path);
        ASSERT_EQ(reader.sectionNames(), (QStringList{"Head", "Data", "Tail"})) << "round " << round;
        EXPECT_EQ(reader.readString("Head", "First", {}), "1");
        EXPECT_EQ(reader.readString("Tail", "Last", {}), "end");
        const auto big = reader.readValue("Data", "Big");
        ASSERT_TRUE(big.has_value());
        EXPECT_TRUE(isWholeGeneration(*big)) << "round " << round;
        generation += 1000;
    }

    // The temporaries of the killed writers go with the next save.
    ASSERT_TRUE(ini.writeString("Tail", "Last", "done"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"tav.Ini"});
}
