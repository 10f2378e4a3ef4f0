// unattended_run.h: the outcome of a run of the wizard, for the exit code and the log.
// The InstallerApp members that drive unattended runs and write the log are declared in
// installer_app.h and defined in unattended_run.cpp.
#pragma once

#include <cstdint>

class InstallerApp;

// The exit code of a wizard that ended on the page of `state` (ProcessExitCode): the completed
// and quick-start pages mean updated; a failure page its failure, however the player left it
// (Exit, Escape, the window closed); any other page cancelled.
int ExitCodeOfWizardState(int16_t state);
