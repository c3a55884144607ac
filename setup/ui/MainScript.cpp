#include "setup/ui/MainScript.h"

MainWindowScript mainWindowScript(const setup::Session& session, platform::Registry& registry)
{
    const setup::Script& sc = session.script();
    MainWindowScript w;
    w.uninstall = session.mode == setup::Mode::Uninstall;
    w.setupString = session.setupString;
    w.unSetupString = session.unSetupString;
    w.title = w.uninstall ? session.uninstallTitle : session.installTitle;
    w.topMessages = sc.numbered("TopMessage", "Message", 5);
    w.locked = sc.readKey("Extend", "Enabled") == u"False";
    w.shortcutNames = sc.numbered("ShortCut", "Name");
    const QString readme = sc.readKey("Readme", "File");
    if (!readme.isEmpty())
        w.readmePath = session.sourceFolder + QString(readme).replace(u'\\', u'/');
    w.readmeTitle = sc.readKey("Readme", "Title");
    w.readmeScrollBars = sc.readKey("Readme", "ScrollBars", w.readmeScrollBars);
    w.unSetupCheckBox = sc.readKey("UnSetupOption", "CheckBox", w.unSetupCheckBox);
    w.folder = session.defaultFolder(registry);
    return w;
}
