// command_line.h: what the installer's command line asks for, read by one pure function.
//
// The constructor of the InstallerApp calls ParseCommandLine once with the words the entry
// received (program name removed): Linux's arguments as they are, the Windows text split by the
// Windows rules (framework/command_words.h).
//
// A word is a switch when, and only when, it is "/" or "--", then a name made of the letters
// A-Z and a-z only (or the name "?"), then either the end of the word or '=' and a value (any
// characters, blanks and quotes included). The name is read in any letter case: /LANG=fra,
// --dir=/home/me/games. Every other word is ignored, as ordinary words always were: a plain
// word, and a path a file manager hands over, because a path has something other than a letter
// (a second '/', a '\', '.', ':') before its first '=' (/home/x/update, /home/x/a=b, C:\Games,
// /home/x/v1.2). A path of one part (/tmp) looks like a switch and is refused as an unknown one,
// as /VERYSILNET is.
//
// A word containing "-pack" (letter case as written) selects pack mode, whatever else the
// command line holds, unless it is a recognised switch: "-pack" inside the value of SILENT ...
// LOG (--log=/home/x/game-package.log) is part of that value.
#pragma once

#include <cstdint>
#include <string>

#include "framework/command_words.h"

struct CommandLineOptions {
    bool pack = false;            // "-pack" in a word that is no recognised switch: build "update.dat"
    bool help = false;            // HELP or /?: show the usage and end
    bool silent = false;          // SILENT: the window shows its pages, nothing is asked
    bool verySilent = false;      // VERYSILENT: no window at all
    bool keepQuickStart = false;  // NOQSTDELETE: unattended runs keep out-of-date quick-start files
    int32_t language = -1;        // LANG=: a LanguageIndex, -1 when not given
    std::string folder;           // DIR=: the game folder (at most 199 characters), "" when not given
    std::string logFile;          // LOG=: the file the run's log is appended to, "" when not given
};

struct ParsedCommandLine {
    CommandLineOptions options;   // everything read, also when an error was found
    std::string error;            // the first fault, naming the switch; "" for a good command line
};

// Reads a command line. Never fails as a whole: a fault is described in `error`.
ParsedCommandLine ParseCommandLine(const CommandWords& words);

// True when the run asks nothing of a person (SILENT or VERYSILENT).
inline bool IsUnattended(const CommandLineOptions& options) { return options.silent || options.verySilent; }

// The LANG= codes in LanguageIndex order ("eng" ... "sve"), also used by the log.
extern const char* const LanguageCodes[];

// The usage, shown by HELP and after a bad command line.
extern const char CommandLineUsage[];
// The usage with its last paragraph: whether the program checks "SHA256SUMS.sig", and the
// fingerprint of each publisher key it checks it with (package/publisher_keys.h).
std::string CommandLineUsageText();
// The same in one line, the log's second (unattended_run.cpp).
std::string SignatureCheckLine();
