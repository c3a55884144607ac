// A run over one SETUP.INI in a temporary folder, for the tests of a script
// section: the script written key by key, a folder table, a registry and
// scripted windows.
#pragma once

#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "setup/engine/RunContext.h"
#include "setup/tests/ScriptedSetupUi.h"

#include <QTemporaryDir>

struct ScriptRun {
    QTemporaryDir dir;
    QString root = dir.path() + u'/';
    setup::FolderTable folders;
    platform::Registry registry{root + "registry.sqlite3"};
    setup::ScriptedSetupUi ui;

    QString scriptPath() const { return root + "SETUP.INI"; }
    void set(const QString& section, const QString& key, const QString& value)
    {
        platform::ProfileFile(scriptPath()).writeString(section, key, value);
    }
    setup::RunContext context(const setup::Script& script, int stepDelayMs = 1)
    {
        return setup::RunContext(script, folders, ui, registry, stepDelayMs);
    }
};
