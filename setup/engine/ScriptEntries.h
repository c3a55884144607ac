// The install run's registry values ([Registry]) and INI entries ([IniFile]).
#pragma once

#include "setup/engine/RunContext.h"

#include "platform/Registry.h"

#include <QString>
#include <optional>

namespace setup {

// A [Registry] Value<n> as it is written: "(Pdd)" anywhere (any case) is
// removed and makes the data lose one trailing path delimiter; the rest is
// expanded; its first five characters name the type: "(Str)", "(Exp)",
// "(Int)" / "(Dwd)" (decimal, 0 when not a number), "(Bin)" (a hexadecimal
// number as four bytes, lowest first); any other text is a string of the
// whole text. Nothing (nullopt) for an empty value or "(Bin)" data that is
// not a 32-bit hexadecimal number.
std::optional<platform::RegValue> registryValue(const QString& valueText, const FolderTable& folders);

// Creates `key` (with its parents) and sets the value `name` in it ("" = the
// key's default value). False when either fails.
bool setRegistryValue(platform::Registry& registry, platform::RegRoot root, const QString& key,
                      const QString& name, const platform::RegValue& value);

// Logs a registry key or value that could not be written as a failed step:
// the header "<Registry> " + `what`.
void logRegistryFailure(RunContext& ctx, const QString& what);

// [Registry] Key<n>, Name<n>, Value<n> for n from 1 to the first empty key.
// A key or value that cannot be written is logged and counted; the run goes on.
void writeRegistryValues(RunContext& ctx);

// [IniFile] Data<n>: "section,key,value,file" (the file is the rest, so it
// may hold ","). A file given without a folder lies in the Windows folder.
// Entries lacking a section, key or file are skipped.
void writeIniEntries(RunContext& ctx);

}  // namespace setup
