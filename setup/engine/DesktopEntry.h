// Desktop entry files (the freedesktop launchers): the escapes of their
// values and Exec lines, the icon of the program a launcher starts, and
// writing one.
#pragma once

#include <QString>
#include <QStringList>

namespace setup {

// A string value with the escapes of a desktop entry file.
QString desktopValue(const QString& text);

// One word of an Exec line: '%' doubled (it starts field codes); quoted when
// it holds a character the Exec syntax reserves.
QString execWord(const QString& word);

// The icon of a launcher that starts `program`. `iconIndex` is what the
// script names: an icon file (absolute, or beside the program) or an icon
// theme name is taken as it is; a number n above 0 picks "<name>-<n>" beside
// the program; empty or 0 (or nothing found) the program's own icon, the
// file "<name>.svg", ".png", ".xpm" or ".ico" beside it, where "<name>" is the
// program's file name without its extension. Empty when there is none.
QString iconFor(const QString& program, const QString& iconIndex = {});

struct DesktopEntry {
    QString name;
    QString localName;  // Name[ja], when it differs
    QString exec;  // a whole Exec line, words already made by execWord
    QString path;  // working folder
    QString icon;
    QString mimeTypes;  // "a/b;c/d;"
    bool noDisplay = false;

    QByteArray text() const;
};

// Writes `entry` to `file` whole, marked executable (desktops start only such
// launchers). False when it could not be written.
bool writeDesktopEntry(const QString& file, const DesktopEntry& entry);

}  // namespace setup
