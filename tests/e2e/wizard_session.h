// wizard_session.h: the wizard driven headlessly on a fresh installation, for the end-to-end tests;
// the driver itself is shared with the page renderer and the demo (tools/wizard_driver).
#pragma once

#include <string>

#include "tools/wizard_driver/wizard_session.h"

// The two states an update may leave a game in: exactly the installation the session made (old
// entries 0, 9, 12, 44, 45, "tlf.icd", "Version" "Release"), or exactly the update (every entry
// new, the readme of `language`, no "tlf.icd", the new "Version"); in both, no other file in the
// game folder (quick-start files aside) and nothing named "~tlf...". Returns "" when the game is
// in the state asked for, else the first difference.
std::string GameDiffersFrom(const WizardSession& s, bool updated, int language = 0);
// Number of names below `folder`, at any depth, that hold "~tlf" (temporary files left behind).
int CountTemporaryFiles(const std::string& folder);
