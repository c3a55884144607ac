// File associations made visible to the desktop. Besides the registry store,
// an association gets a freedesktop MIME type (the one the system already
// knows for the extension, else a new "application/x-<ext>-auto-file" in a
// package file "<data>/mime/packages/x-<ext>-auto-file.xml"), a hidden
// launcher "<data>/applications/<ext>_auto_file.desktop" that opens such
// files, and that launcher as the type's default application in
// "<config>/mimeapps.list". The record keeps "ext,type,previous default" per
// extension (the first install's, like the restore table), and the uninstall
// undoes exactly that: the default goes back only while it is still ours.
#pragma once

#include <QString>

namespace setup {

struct Association;

// The desktop's folders: data (mime/, applications/) and config (mimeapps.list).
struct DesktopFolders {
    QString data;
    QString config;
    bool usable() const { return data.startsWith(u'/') && config.startsWith(u'/'); }
};

// An extension the desktop files can name: letters, digits, '_', '+', '-'.
bool desktopExtension(const QString& extension);

// Registers `a` with the desktop; returns the record entry
// "ext,type,previous default", or an empty text when it could not be done.
QString registerWithDesktop(const DesktopFolders& folders, const Association& a, const QString& icon);

// Undoes one record entry of registerWithDesktop.
void unregisterFromDesktop(const DesktopFolders& folders, const QString& entry);

}  // namespace setup
