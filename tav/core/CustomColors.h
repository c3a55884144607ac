// The colour chooser's 16 custom-colour slots as the settings keep them: each
// non-empty text is one line "Color" + slot letter (A to P) + "=" + six
// lower-case hexadecimal digits of the colour reference.
#pragma once

#include "platform/Prompt.h"

#include <QString>
#include <array>

using CustomColorTexts = std::array<QString, 16>;

// Empties the chooser's list and adds every readable line, by its slot letter.
void loadCustomColors(const CustomColorTexts& texts, platform::ColorRequest& request);

// The chooser's list after a confirmed choice, one line per slot A to P; a
// slot the chooser left empty holds white, as the chooser shows it.
void storeCustomColors(const platform::ColorRequest& request, CustomColorTexts& texts);
