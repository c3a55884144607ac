// The command strings sent with DDE execute: one or more commands, each
// `Name(arguments)` and usually in brackets, e.g. [FileOpen("a.gif")][ShowGV(OFF)].
// An argument is a bare word (OFF) or a text in double quotes, in which a
// double quote is written twice; quoting any text with ddeQuote() makes it
// reach the server whole, whatever characters it holds.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

struct DdeMacroCommand {
    QString name;
    QStringList arguments;  // unquoted
    bool operator==(const DdeMacroCommand&) const = default;
};

// `text` in double quotes with each double quote doubled.
QString ddeQuote(const QString& text);

// The commands of `macro`; nullopt when any part of it is malformed.
std::optional<QList<DdeMacroCommand>> parseDdeMacro(const QString& macro);

}  // namespace platform
