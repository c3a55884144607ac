// What the main window shows of the installer's script (or of the uninstall
// record), read from the prepared session.
#pragma once

#include "setup/engine/Session.h"
#include "setup/ui/Main.h"

MainWindowScript mainWindowScript(const setup::Session& session, platform::Registry& registry);
