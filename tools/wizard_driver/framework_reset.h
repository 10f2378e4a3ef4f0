// framework_reset.h: the clean start every test of the framework, the wizard or the headless
// backend needs, and where the committed fonts are.
#pragma once

#include <string>

#include "tools/wizard_driver/scratch_files.h"

// Zero framework state ("nothing changed" as the dirty rectangle), fresh headless window, script
// and cursors.
void ResetFrameworkAndBackend();

// data/fonts of the source tree.
std::string CommittedFontFolder();
