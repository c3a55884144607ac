// The install run's file associations ([Relate]) and the restore table that
// lets the uninstall run give each extension back the class it had before.
#pragma once

#include "setup/engine/RunContext.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace setup {

// [Relate] Name<n> ("ext" or "ext,description") and File<n>
// ("verb,program,arguments...,icon index").
struct AssociationPair {
    QString name, file;
};

// The pairs of n = 1..20 whose two values are both non-empty, in order.
std::vector<AssociationPair> readAssociationPairs(const Script& script);

// One pair taken apart, the file value expanded.
struct Association {
    QString extension;
    QString description;  // "<ext> File" when the name has none
    QString verb;
    QString program;
    QStringList arguments;  // the fields between the program and the icon index
    QString iconIndex;  // the text after the last ','

    // The program (quoted when it holds a space) and each non-empty argument.
    QString command() const;
    // False for a pair that names no extension, verb or program, or whose
    // extension holds a path delimiter (it would reach into other keys).
    bool usable() const;
};

Association parseAssociation(const AssociationPair& pair, const FolderTable& folders);

// 20 slots "ext,previousClass" (previous class empty when there was none).
// The old uninstall record fills it first, so that a reinstall keeps the
// class the extension had before the first install.
class RestoreTable {
public:
    static constexpr int kSlots = 20;

    RestoreTable();

    // A value from an old record: skipped when a slot already holds it (any
    // case) or it is empty; else it goes to the first free slot.
    void take(const QString& value);
    // Records `extension`'s previous class unless a slot is for that
    // extension already (any case). Nothing is recorded when all are taken.
    void record(const QString& extension, const QString& previousClass);
    bool hasExtension(const QString& extension) const;

    // Always kSlots entries, empty = free. (Qt reserves the word "slots".)
    const QStringList& slotList() const { return m_slots; }

private:
    void putInFreeSlot(const QString& value);

    QStringList m_slots;
};

// Each pair in order: asks the user, then points "." + ext at the class
// "<ext>_auto_file" with its description, DefaultIcon and shell verb command,
// first recording the extension's previous class in `restore`, and registers
// it with the desktop (DesktopAssociations.h), recording what that changed in
// `desktopRestore`. A declined pair touches nothing. Unusable pairs and
// writes that fail are logged as failed steps. Throws RunAborted on abort.
void setAssociations(RunContext& ctx, const std::vector<AssociationPair>& pairs, RestoreTable& restore,
                     RestoreTable& desktopRestore);

}  // namespace setup
