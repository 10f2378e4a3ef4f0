// texts.h: every text the wizard shows, in its seven languages, plus the few that are not
// localised.
//
// All texts are single-byte Windows-1252 and zero-terminated; the fonts carry glyphs for codes
// 32 to 255. The pages (wizard_pages.cpp) and the actions (wizard_flow.cpp) look a text up by
// the chosen `language` every time they build a page or run an action, so a change of language
// shows from the next page on. There is no fallback: the index is always 0 to 6.
#pragma once

#include <cstdint>

enum LanguageIndex : int32_t {
    LanguageEnglish = 0,
    LanguageSpanish = 1,
    LanguageFrench = 2,
    LanguageItalian = 3,
    LanguageNorwegian = 4,
    LanguagePortuguese = 5,
    LanguageSwedish = 6,
};
enum : int32_t { LanguageCount = 7 };

// Seven constant texts indexed by LanguageIndex. Entries of different tables may share storage.
typedef const char* const LocalisedText[LanguageCount];

// Non-zero: the language is offered on the first page. Read only by the language page.
extern const uint8_t LanguageEnabled[LanguageCount];

// The readme of each language in the installer's folder ("readme_sve.txt" for Swedish, although
// the Swedish files of the package use "swe"); copied into the game folder as "readme.txt".
extern const LocalisedText ReadmeFileName;
// Captions of the language Buttons.
extern const LocalisedText LanguageButtonText;

// Button captions. Norwegian and Swedish Finish and Exit read the same.
extern const LocalisedText BackLabel;
extern const LocalisedText NextLabel;
extern const LocalisedText FinishLabel;
extern const LocalisedText ExitLabel;
extern const LocalisedText YesLabel;
extern const LocalisedText NoLabel;

extern const LocalisedText SourceMissingText;         // page of StateSourceMissing, first line
extern const LocalisedText ClickNextToContinueText;   // page of StateEnterFolder, under the prompt
extern const LocalisedText WindowTitle;               // window caption and heading of every page
extern const LocalisedText NotInstalledText;          // page of StateNotInstalled, first line
extern const LocalisedText ReinstallText;             // second line of StateNotInstalled and StateInstallCorrupt
extern const LocalisedText InstalledVersionCaption;   // above the installed version
extern const LocalisedText NewVersionCaption;         // above the new version
extern const LocalisedText ClickNextToUpdateText;     // last line of StateConfirmVersions
extern const LocalisedText NotCompatibleText;         // wrapped message of the reserved StateNotCompatible
extern const LocalisedText UpdatingText;              // heading above the progress panel
extern const LocalisedText CompletedText;             // page of StateCompleted
extern const LocalisedText InstallCorruptText;        // first line of the reserved StateInstallCorrupt
extern const LocalisedText PackageCorruptText;        // page of StateSourceMissing, second line
extern const LocalisedText QuickStartOutdatedText;    // first wrapped message of StateQuickStartPrompt
extern const LocalisedText DeleteQuickStartQuestion;  // second wrapped message, after an empty line
extern const LocalisedText FolderPromptText;          // wrapped prompt at the top of StateEnterFolder
extern const LocalisedText WriteFailedText;           // first line of StateWriteFailed, above the file

// Why a write failed (one per WriteFailureReason but None), the second paragraph of
// StateWriteFailed; NotEnoughSpaceText takes the needed and the free amount ("%s" each, in this
// order) when the space check refused the update.
extern const LocalisedText AccessDeniedText;
extern const LocalisedText FileInUseText;
extern const LocalisedText DiskFullText;
extern const LocalisedText FolderMissingText;
extern const LocalisedText NameTooLongText;
extern const LocalisedText NotPlainFolderText;
extern const LocalisedText WriteRefusedText;
extern const LocalisedText NotEnoughSpaceText;
// What to do next, the last paragraph of StateWriteFailed.
extern const LocalisedText CloseProgramsAdvice;  // access denied, in use, other
extern const LocalisedText FreeSpaceAdvice;      // disk full
extern const LocalisedText ChooseFolderAdvice;   // folder missing, name too long, no plain folder
// The game's state after a failure: the last line of StateSourceMissing (the game was put back)
// and of StateWriteFailed (leaving puts it back; "< Back" can still resume).
extern const LocalisedText GameLeftAsItWasText;
extern const LocalisedText ExitLeavesGameText;

// The reason and the advice texts of a WriteFailureReason (an int32_t from
// platform/write_failure.h; None reads as Other). Used by the write-failure page and a log.
const LocalisedText& WriteFailureReasonText(int32_t reason);
const LocalisedText& WriteFailureAdviceText(int32_t reason);

// Texts that are not localised.
// The version this update installs, shown on the version page and under every heading, and
// written to the record's "Version" when the update is complete.
extern const char NewVersionText[];
// The record's "Version" of an unpatched installation, and what the version page shows for it.
extern const char ReleaseVersionName[];
extern const char ReleaseVersionText[];
