// command_line_test.cpp: ParseCommandLine over a table of command lines, each with what it asks
// for or the fault it reports.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/command_line.h"

namespace {

// The options and the fault as one line, so that a table row says everything about a command line.
std::string Summary(const ParsedCommandLine& parsed) {
    const CommandLineOptions& o = parsed.options;
    std::string s;
    if (o.pack) s += "pack ";
    if (o.help) s += "help ";
    if (o.silent) s += "silent ";
    if (o.verySilent) s += "verysilent ";
    if (o.keepQuickStart) s += "keep ";
    if (o.language >= 0) s += "lang=" + std::to_string(o.language) + " ";
    if (!o.folder.empty()) s += "dir=[" + o.folder + "] ";
    if (!o.logFile.empty()) s += "log=[" + o.logFile + "] ";
    return parsed.error.empty() ? s : s + "error: " + parsed.error;
}

// A row gives a Windows command-line text (split as the Windows program splits it) or the
// words Linux hands over as they are.
TEST(CommandLine, TableOfCommandLines) {
    const struct {
        std::string windowsText;  // "" for a Linux row
        CommandWords linuxWords;
        std::string expected;
    } rows[] = {
        {"", {}, ""},
        {"readme.txt -PACK -silent", {}, ""},  // words that are not switches are ignored, as always
        {"--verysilent /NoQstDelete /silent", {}, "silent verysilent keep "},
        {"/LANG=fra", {}, "lang=2 "},
        {"/?", {}, "help "},
        {"--Help /LANG=eng", {}, "help lang=0 "},
        {"/DIR=\"C:\\Program Files\\TLF\" /LOG=run.log", {}, "dir=[C:\\Program Files\\TLF] log=[run.log] "},
        {"\"--dir=/home/a b/game/\"  \t/VERYSILENT", {}, "verysilent dir=[/home/a b/game] "},
        {"/DIR=C:\\ /DIR=D:\\Games\\", {}, "dir=[D:\\Games] "},  // the last one counts
        {"/LOG=\"my log.txt", {}, "log=[my log.txt] "},        // an open quote ends with the line
        {"/DIR=\"C:\\My Games\\\\\" /SILENT", {}, "silent dir=[C:\\My Games] "},  // \\" is \ and a quote
        {"/DIR=\"C:\\My Games\\\" /SILENT", {}, "dir=[C:\\My Games\" /SILENT] "},  // \" is a quote
        {"/LOG=\"a\"\"b.log /LANG=a\\\\b", {}, "log=[a\"b.log] error: Bad value \"a\\\\b\" for \"/LANG\": eng, esp, fra, ita, nor, por or sve"},
        {"/DIR=C:\\-packed /VERYSILENT", {}, "verysilent dir=[C:\\-packed] "},  // a switch's value never packs
        {"/BAD C:\\Updates\\tlf-pack", {}, "pack "},  // any other word holding "-pack" packs
        {"/X=-pack", {}, "pack "},
        {"/SILENT=-pack", {}, "error: \"/SILENT\" takes no value"},
        {"/SILENT /x=1", {}, "silent error: Unknown switch \"/x\""},
        {"/VERYSILNET", {}, "error: Unknown switch \"/VERYSILNET\""},
        {"/BAD /VERYSILENT", {}, "verysilent error: Unknown switch \"/BAD\""},  // no message box then
        {"/LANG=xx", {}, "error: Bad value \"xx\" for \"/LANG\": eng, esp, fra, ita, nor, por or sve"},
        {"/DIR=", {}, "error: \"/DIR\" needs a value after '='"},
        {"/DIR=" + std::string(199, 'd'), {}, "dir=[" + std::string(199, 'd') + "] "},
        {"/DIR=" + std::string(200, 'd'), {}, "error: The folder of \"/DIR\" is longer than 199 characters"},
        {"", {"--dir=/tmp/q\"uo'te/game", "--verysilent"}, "verysilent dir=[/tmp/q\"uo'te/game] "},
        {"", {"--log=\"a b", "--lang=SVE"}, "lang=6 log=[\"a b] "},  // a quote is a character
        {"", {"/home/x/update", "/home/x/a=b", "/home/x/v1.2", "C:\\x", "--x.y=1", "--"}, ""},  // paths
        {"", {"/tmp"}, "error: Unknown switch \"/tmp\""},  // a path of one part looks like a switch
        {"", {"--log=/home/x/game-package.log", "--verysilent"}, "verysilent log=[/home/x/game-package.log] "},
        {"", {"/home/x/my-package", "--silent"}, "pack "},
        {"", {"--log", "run.log"}, "error: \"--log\" needs a value after '='"},  // the value is not joined
    };
    for (const auto& row : rows) {
        const CommandWords words = row.linuxWords.empty() ? SplitWindowsCommandLine(row.windowsText.c_str()) : row.linuxWords;
        EXPECT_EQ(Summary(ParseCommandLine(words)), row.expected) << JoinCommandWords(words);
    }
}

// The Windows start-up's whole line: the program's name goes, quoted or not, with its blanks.
TEST(CommandLine, ProgramNameIsSkippedAsWindowsSplitsIt) {
    const std::pair<const char*, const char*> rows[] = {
        {"tlfupdate.exe /SILENT", "/SILENT"},
        {"\"C:\\Gry \xC5\x81\\tlfupdate.exe\"  \t\"/DIR=C:\\\xCE\x91\"", "\"/DIR=C:\\\xCE\x91\""},
        {"\"C:\\a b\\tlfupdate.exe\"", ""},
        {"tlfupdate", ""},
        {"\"unclosed /SILENT", ""},
    };
    for (const auto& row : rows) EXPECT_STREQ(SkipWindowsProgramName(row.first), row.second) << row.first;
    EXPECT_STREQ(SkipWindowsProgramName(nullptr), "");
}

}  // namespace
