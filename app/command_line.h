// command_line.h: what the installer's command line asks for, read by one pure function.
//
// The constructor of the InstallerApp calls ParseCommandLine once with the text the entry
// received (program name removed). Switches are written /NAME or --name, names in any letter
// case, a value after '=' (/LANG=fra, --dir="C:\Games\Tallyfield"). Double quotes group blanks
// into a word and are removed; backslashes are plain characters, so a folder may end in one.
// A text containing "-pack" anywhere selects pack mode, whatever else it holds (even inside a
// DIR= value), as it always has.
#pragma once

#include <cstdint>
#include <string>

struct CommandLineOptions {
    bool pack = false;            // "-pack" somewhere: build "update.dat"
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
ParsedCommandLine ParseCommandLine(const char* text);

// True when the run asks nothing of a person (SILENT or VERYSILENT).
inline bool IsUnattended(const CommandLineOptions& options) { return options.silent || options.verySilent; }

// The LANG= codes in LanguageIndex order ("eng" ... "sve"), also used by the log.
extern const char* const LanguageCodes[];

// The usage, shown by HELP and after a bad command line.
extern const char CommandLineUsage[];
