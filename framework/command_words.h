// command_words.h: the program's arguments as a list of words, the one form in which both
// systems hand them to the installer.
//
// Linux gives the words themselves (argv). Windows gives one text, which is split here by the
// rules Windows programs split it with (those of CommandLineToArgvW for the words after the
// program's name), so that a path keeps every character the system put in it.
#pragma once

#include <string>
#include <vector>

using CommandWords = std::vector<std::string>;

// Splits a Windows command-line text (program name removed); null gives no word.
//  - blanks (space, tab) outside double quotes separate words; a quoted part may hold blanks and
//    may stand inside a word (/DIR="C:\My Games"\Tallyfield);
//  - a double quote starts or ends a quoted part and is removed; inside a quoted part two double
//    quotes in a row give one double quote and end the quoted part;
//  - 2n backslashes before a double quote give n backslashes (the quote then starts or ends a
//    quoted part), 2n+1 give n backslashes and a literal double quote; backslashes anywhere else
//    are plain characters (C:\Games\Tallyfield).
// So a quoted folder ending in a backslash is written with two: /DIR="C:\My Games\\".
CommandWords SplitWindowsCommandLine(const char* text);

// The text after the program's name in a whole command line (GetCommandLineW's, converted): the
// name is everything up to the next double quote when it starts with one, else up to the first
// blank, and the blanks after it go with it. The Windows start-up hands the rest to
// SplitWindowsCommandLine. Null gives "".
const char* SkipWindowsProgramName(const char* wholeLine);

// The words as one line for people (the log): separated by blanks, a word holding a blank or a
// double quote put in double quotes, written so that SplitWindowsCommandLine gives it back.
std::string JoinCommandWords(const CommandWords& words);
