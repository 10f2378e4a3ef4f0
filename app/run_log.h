// run_log.h: the plain text log of a run (LOG=file) and the lines an unattended run writes to
// standard error.
//
// The log is opened for appending when the run starts and every line is flushed at once, so
// that a run that is killed still leaves what it did. Each line begins with the local date and
// time. A log file that cannot be written (a full disk) is said once on standard error and given
// up; the run goes on as without LOG=. Called only by unattended_run.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct RunLog {
    FILE* file = nullptr;         // the LOG= file, or null
    std::string path;             // its name as given, for the message when it cannot be written
    bool toStandardError = false; // failure lines also go to standard error (unattended runs)
    bool progressToTerminal = false;  // every line goes to standard error (VERYSILENT on a terminal)
};

// Opens the log file for appending; false when it cannot be opened.
bool OpenRunLog(RunLog& log, const char* path);
// An ordinary line: into the log, and to standard error when progress is shown there.
void LogLine(RunLog& log, const char* format, ...);
// A failure: into the log, and to standard error in an unattended run.
void LogFailure(RunLog& log, const char* format, ...);
void CloseRunLog(RunLog& log);

// What a run has told its log so far; kept by the InstallerApp and compared with the wizard's
// state after every frame (unattended_run.cpp).
struct RunWatch {
    bool started = false;         // the wizard was started: its end decides the exit code
    bool languageChosen = false;  // the LANG= language (or English, unattended) was chosen once
    int16_t seenState = 0;        // the wizard state last looked at (StateChooseLanguage)
    int16_t seenCounter = 0;      // the update step last looked at
    int16_t seenPutBacks = 0;     // the InstallerApp's putBackCount last looked at
    int16_t seenRecoveries = 0;   // and its recoveries
    RunLog log;
};
