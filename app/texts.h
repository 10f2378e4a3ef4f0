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
// Captions of the language Buttons; the Swedish one begins with the digit 0.
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
extern const LocalisedText FolderPromptText;          // the empty text in every language
extern const LocalisedText WriteFailedText;           // the empty text in every language

// Texts that are not localised.
// The version this update installs, shown on the version page and under every heading, and
// written to the record's "Version" when the update is complete.
extern const char NewVersionText[];
// The record's "Version" of an unpatched installation, and what the version page shows for it.
extern const char ReleaseVersionName[];
extern const char ReleaseVersionText[];
