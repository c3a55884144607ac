// A machine in a temporary folder for the installer's run tests: the source
// folder with the program and its script, the system's folders, a registry
// and a scripted prompt service that answers by caption.
#pragma once

#include "platform/Registry.h"
#include "platform/Sjis.h"
#include "platform/tests/ScriptedPrompt.h"
#include "setup/engine/Session.h"
#include "setup/engine/SetupUi.h"
#include "setup/tests/ScriptedSetupUi.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Texts in failure messages as text, not as arrays of characters.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class SetupFixture : public ::testing::Test {
protected:
    SetupFixture() : registry(root.filePath("registry.db"))
    {
        for (const char* folder : {"src", "win/system", "tmp", "prg", "menu", "desk", "autostart", "sendto"})
            QDir().mkpath(root.filePath(folder));
        system.windows = path("win");
        system.system = path("win/system");
        system.temp = path("tmp");
        system.programFiles = path("prg");
        system.startMenu = system.programs = path("menu");
        system.desktop = path("desk");
        system.startup = path("autostart");
        system.sendTo = path("sendto");
        system.commonStartMenu = system.commonPrograms = system.programs;
        system.commonDesktop = system.desktop;
        system.commonStartup = system.startup;
        write("src/setup", "#!/bin/sh\n");
        prompt.onPrompt = [this](const platform::PromptRecord& r) {
            if (answers.contains(r.caption))
                prompt.answer(answers.value(r.caption));
        };
    }

    QString path(const QString& relative) const { return root.filePath(relative); }

    void write(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The script beside the program, Shift-JIS with CR LF lines.
    void writeScript(const QString& text)
    {
        QString crlf = text;
        crlf.replace("\n", "\r\n");
        write("src/SETUP.INI", platform::toSjis(crlf));
    }
    QByteArray read(const QString& absolute) const
    {
        QFile file(absolute);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    setup::Session startSetup(const QString& argument = {})
    {
        return setup::Session::prepare(path("src/setup"), argument, system);
    }

    QTemporaryDir root;
    platform::Registry registry;
    setup::SystemFolders system;
    platform::ScriptedPrompt prompt;
    QMap<QString, platform::Answer> answers;  // caption -> answer
    setup::ScriptedSetupUi ui;
};
