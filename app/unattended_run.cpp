// unattended_run.cpp: the command line's part in a run of the wizard: the switches read when the
// application is made, the Buttons an unattended run presses by itself, the log of what the
// wizard did, and the exit code the run ends with.
//
// An unattended run (SILENT, VERYSILENT) goes through the very states and actions a person goes
// through: after each frame it does what a person would do on the page now shown (choose the
// language, Next, Yes or No, Finish without the readme, Exit on a failure page). VERYSILENT
// opens no window: RunFrame goes on without graphics, and every drawing call finds no frame
// buffer and does nothing. The log is written by looking at the wizard after every frame, so the
// wizard itself knows nothing of it.
#include "app/unattended_run.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/installer_app.h"
#include "app/texts.h"
#include "app/write_failure_text.h"
#include "framework/exit_code.h"
#include "framework/framework_state.h"
#include "package/install_record.h"
#include "package/publisher_keys.h"
#include "package/quick_start.h"
#include "package/update_file_table.h"
#include "platform/platform_display.h"
#include "platform/platform_system.h"

namespace {

const char* const ExitCodeMeaning[] = {"updated", "packing failed", "not installed", "source missing or package corrupt",
                                       "write failed", "cancelled", "bad command line", "program error"};

bool Opens(const char* path) {
    FILE* file = PlatformOpenFile(path, "rb");
    if (file != nullptr) std::fclose(file);
    return file != nullptr;
}

bool IsEntry(int entry) { return entry >= 0 && entry < UpdateFileCount; }

// The entry's name below the game folder ("data\club.dat").
std::string EntryName(int entry) {
    if (!IsEntry(entry)) return "?";
    return std::string(UpdateFileSubfolder(entry) + 1) + UpdateFileName(entry);
}

// Whether anything is told: a normal wizard run without LOG= looks at nothing.
bool Logging(const RunLog& log) { return log.file != nullptr || log.toStandardError || log.progressToTerminal; }

}  // namespace

int ExitCodeOfWizardState(int16_t state) {
    switch (state) {
        case StateCompleted:
        case StateQuickStartPrompt: return ExitUpdated;
        case StateNotInstalled:
        case StateInstallCorrupt: return ExitNotInstalled;
        case StateSourceMissing: return ExitSourceMissing;
        case StateWriteFailed: return ExitWriteFailed;
        default: return ExitCancelled;
    }
}

bool InstallerApp::StartFromCommandLine() {
    const char* commandLine = GetCommandLineArgs();
    const ParsedCommandLine parsed = ParseCommandLine(GetCommandLineWords());
    options = parsed.options;
    if (IsUnattended(options)) PlatformUseParentConsole();  // before the first line it may write
    std::string fault = parsed.error;
    if (fault.empty() && options.help) {
        PlatformShowCommandLineText(WindowTitle[LanguageEnglish], CommandLineUsageText().c_str(), false);
        return false;
    }
    if (fault.empty() && !options.logFile.empty() && !OpenRunLog(watch.log, options.logFile.c_str())) {
        fault = "The log file \"" + options.logFile + "\" cannot be opened";
    }
    if (!fault.empty()) {
        gFramework.exitCode = ExitBadCommandLine;
        // A VERYSILENT run may have nobody to close a message box; any other run shows the
        // fault where the person is (a message box when there is a display, on Linux too).
        if (options.verySilent) {
            std::fprintf(stderr, "tlfupdate: %s\n", fault.c_str());
        } else {
            PlatformShowCommandLineText("Error", (fault + "\n\n" + CommandLineUsageText()).c_str(), true);
        }
        return false;
    }
    watch.started = true;
    watch.log.toStandardError = IsUnattended(options);
    watch.log.progressToTerminal = options.verySilent && PlatformStandardErrorIsTerminal();
    LogLine(watch.log, "start: tlfupdate %s (%s)", commandLine != nullptr ? commandLine : "",
            options.verySilent ? "very silent" : options.silent ? "silent" : "wizard");
    LogLine(watch.log, "%s", SignatureCheckLine().c_str());
    return true;
}

void InstallerApp::AfterFrame() {
    if (!watch.started) return;
    LogChanges();
    if (quit) return;
    if (state == StateChooseLanguage && !watch.languageChosen && (options.language >= 0 || IsUnattended(options))) {
        watch.languageChosen = true;
        ChooseLanguage(options.language >= 0 ? options.language : LanguageEnglish);
    } else if (IsUnattended(options)) {
        PressForUnattendedRun();
    }
    LogChanges();
}

// One press a frame, so that SILENT shows every page it passes.
void InstallerApp::PressForUnattendedRun() {
    switch (state) {
        case StateConfirmVersions: CarryOutAction(ActionGoToState, StateUpdating); break;
        case StateUpdating: break;  // RunFrame installs one entry a frame
        case StateQuickStartPrompt:
            CarryOutAction(options.keepQuickStart ? ActionKeepQuickStart : ActionDeleteQuickStart, 0);
            break;
        default: quit = true; break;  // Finish (the readme is not opened), or Exit on a failure page
    }
}

// Writes what changed since the last look: the update steps done, and the page entered.
void InstallerApp::LogChanges() {
    if (!Logging(watch.log)) return;
    while (watch.seenCounter < fileCounter) {
        const int16_t step = watch.seenCounter++;
        if (step == 0) {
            LogLine(watch.log, "sources checked: update.dat and %s", ReadmeFileName[language]);
            if (checksums.state == ChecksumListForeign) {
                LogLine(watch.log, "\"%s\" does not list update.dat: not this update's list, ignored", ChecksumListName);
            }
            if (signedList.key >= 0) {
                LogLine(watch.log, "signature: \"%s\" verified with key %s", SignatureFileName,
                        PublisherKeys[signedList.key].fingerprint);
            } else if (PlatformPathKindOf(SignatureFileName) != PlatformPathKind::Missing) {
                LogLine(watch.log, "signature: \"%s\" ignored: this program has no publisher key", SignatureFileName);
            }
            continue;
        }
        const int entry = step - 1;
        char target[WizardPathSize];
        const bool named = IsEntry(entry) && UpdateFileTarget(gameFolder, entry, target, sizeof target);
        FILE* file = named ? PlatformOpenFile(target, "rb") : nullptr;
        if (file != nullptr) {
            LogLine(watch.log, "written %d/%d: %s (%lld bytes)", step, UpdateFileCount, EntryName(entry).c_str(),
                    static_cast<long long>(PlatformFileSize(file)));
            std::fclose(file);
        } else {
            LogLine(watch.log, "skipped %d/%d: %s: the folder does not exist", step, UpdateFileCount, EntryName(entry).c_str());
        }
    }
    LogGameState();
    if (state == watch.seenState) return;
    const int16_t from = watch.seenState;
    watch.seenState = state;
    if (from == StateChooseLanguage) LogLine(watch.log, "language: %s", LanguageCodes[language]);
    switch (state) {
        case StateConfirmVersions:
            LogLine(watch.log, "folder: %s", gameFolder);
            LogLine(watch.log, "installed version: %s", installedVersion[0] != '\0' ? installedVersion : "(none in the record)");
            LogLine(watch.log, "new version: %s", NewVersionText);
            break;
        case StateUpdating: LogLine(watch.log, "update started"); break;
        case StateCompleted:
        case StateQuickStartPrompt:
            if (from == StateUpdating) {
                // The update completes only once the record holds the new version.
                LogLine(watch.log, "record: \"Version\" is now %s", NewVersionText);
            }
            if (from == StateQuickStartPrompt) {
                LogLine(watch.log, "quick-start files %s", ProcessQuickStartFiles(gameFolder, false) ? "kept" : "deleted");
            }
            break;
        default: LogFailurePage(); break;
    }
}

// What happened to the game as a whole: a dead run's update finished or undone at the start, and
// this run's update put back. Said on standard error too in an unattended run.
void InstallerApp::LogGameState() {
    if (watch.seenRecoveries != recoveries) {
        watch.seenRecoveries = recoveries;
        if (recovered == UnitRecoveryFinish) {
            LogFailure(watch.log, "recovered: an interrupted update of %s had been recorded; its kept files were removed", gameFolder);
        } else if (unitFailures == 0) {
            LogFailure(watch.log, "recovered: an interrupted update of %s was undone; the game is as it was", gameFolder);
        } else {
            LogFailure(watch.log, "recovered: %d files of an interrupted update of %s could not be put back; the next start tries again",
                       unitFailures, gameFolder);
        }
    }
    if (watch.seenPutBacks != putBackCount) {
        watch.seenPutBacks = putBackCount;
        if (unitFailures == 0) {
            LogFailure(watch.log, "game: the update was not completed; the game was left as it was");
        } else {
            LogFailure(watch.log, "game: %d files could not be put back; the next start of the installer tries again", unitFailures);
        }
    }
}

// The failure a page tells of, with its reason.
void InstallerApp::LogFailurePage() {
    const int entry = fileCounter - 1;
    switch (state) {
        case StateNotInstalled: {
            char value[WizardTextSize];
            const bool recorded = ReadRegistryValue(ProductSubkey, VersionValueName, value, WizardTextSize) &&
                                  ReadRegistryValue(ProductSubkey, LocationValueName, value, WizardTextSize);
            if (options.folder.empty() && !recorded) {
                LogFailure(watch.log, "not installed: no installation record (its \"Version\" and \"Location\")");
            } else {
                LogFailure(watch.log, "not installed: no \"tlf.exe\" in %s", gameFolder);
            }
            break;
        }
        case StateSourceMissing:
            if (signedList.fault != SignedListFine) {
                LogSignatureFault();
            } else if (std::strcmp(faultyFile, ChecksumListName) == 0) {
                LogFailure(watch.log, "package corrupt: \"%s\" is malformed or does not list every file", faultyFile);
            } else if (fileCounter > 0 && faultyFile[0] != '\0' && std::strcmp(faultyFile, "update.dat") != 0) {
                LogFailure(watch.log, "package corrupt: the bytes of %s differ from \"%s\"", faultyFile, ChecksumListName);
            } else if (fileCounter > 0) {
                LogFailure(watch.log, "source missing: \"update.dat\" cannot be read at %s (missing or corrupt)",
                           EntryName(entry).c_str());
            } else if (!Opens("update.dat")) {
                LogFailure(watch.log, "source missing: \"update.dat\" cannot be opened");
            } else if (!Opens(ReadmeFileName[language])) {
                LogFailure(watch.log, "source missing: \"%s\" cannot be opened", ReadmeFileName[language]);
            } else if (std::strcmp(faultyFile, ReadmeFileName[language]) == 0) {
                LogFailure(watch.log, "package corrupt: the bytes of %s differ from \"%s\"", faultyFile, ChecksumListName);
            } else {
                LogFailure(watch.log, "package corrupt: \"update.dat\" does not match its size table");
            }
            // Mid-update the put-back is told by LogGameState; before it nothing was touched.
            if (fileCounter == 0) LogFailure(watch.log, "game: nothing was changed; the game was left as it was");
            break;
        case StateWriteFailed: {
            // The page's own words, in English: the reason, or the space needed and free.
            char reason[256];
            WriteFailureReasonLine(lastWriteFailure, LanguageEnglish, reason, sizeof reason);
            const char* file = lastWriteFailure.file[0] != '\0' ? lastWriteFailure.file : gameFolder;
            LogFailure(watch.log, "write failed: %s: %s", file, reason);
            if (unit.begun) LogLine(watch.log, "game: the replaced files are kept aside; Exit puts them back");
            break;
        }
        default: break;  // the folder page: the player types a folder
    }
}

// Why the signature check refused the update.
void InstallerApp::LogSignatureFault() {
    switch (signedList.fault) {
        case SignedListNoList:
            LogFailure(watch.log, "package corrupt: no \"%s\", and this program installs only signed updates", ChecksumListName);
            break;
        case SignedListNoSignature:
            LogFailure(watch.log, "package corrupt: no \"%s\", and this program installs only signed updates", SignatureFileName);
            break;
        case SignedListBadSignature:
            LogFailure(watch.log, "package corrupt: \"%s\" is no signature of \"%s\" by a publisher key", SignatureFileName,
                       ChecksumListName);
            break;
        default:
            LogFailure(watch.log, "package corrupt: \"%s\" is not listed in the signed \"%s\"", faultyFile, ChecksumListName);
            break;
    }
}

void InstallerApp::EndRun() {
    if (!watch.started) return;
    LogChanges();
    if (gFramework.exitCode == ExitUpdated) gFramework.exitCode = ExitCodeOfWizardState(state);
    const int code = gFramework.exitCode;
    const char* meaning = code >= 0 && code <= ExitProgramError ? ExitCodeMeaning[code] : "ended";
    if (code == ExitUpdated) {
        LogLine(watch.log, "end: %s, exit code %d", meaning, code);
    } else {
        LogFailure(watch.log, "end: %s, exit code %d", meaning, code);
    }
    CloseRunLog(watch.log);
}
