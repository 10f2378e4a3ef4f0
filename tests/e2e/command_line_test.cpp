// command_line_test.cpp: ParseCommandLine over a table of command lines, each with what it asks
// for or the fault it reports.
#include <gtest/gtest.h>

#include <string>

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

TEST(CommandLine, TableOfCommandLines) {
    const struct {
        std::string line, expected;
    } rows[] = {
        {"", ""},
        {"readme.txt -PACK -silent", ""},  // words that are not switches are ignored, as always
        {"--verysilent /NoQstDelete /silent", "silent verysilent keep "},
        {"/LANG=fra", "lang=2 "},
        {"--lang=SVE", "lang=6 "},
        {"/?", "help "},
        {"--Help /LANG=eng", "help lang=0 "},
        {"/DIR=\"C:\\Program Files\\TLF\" /LOG=run.log", "dir=[C:\\Program Files\\TLF] log=[run.log] "},
        {"\"--dir=/home/a b/game/\"  \t/VERYSILENT", "verysilent dir=[/home/a b/game] "},
        {"/DIR=C:\\ /DIR=D:\\Games\\", "dir=[D:\\Games] "},  // the last one counts
        {"/LOG=\"my log.txt", "log=[my log.txt] "},        // an open quote ends with the line
        {"/DIR=C:\\-packed /VERYSILENT", "pack "},         // "-pack" anywhere packs
        {"/SILENT /x=1", "silent error: Unknown switch \"/x\""},
        {"/BAD /VERYSILENT", "verysilent error: Unknown switch \"/BAD\""},  // no message box then
        {"/LANG=xx", "error: Bad value \"xx\" for \"/LANG\": eng, esp, fra, ita, nor, por or sve"},
        {"/DIR=", "error: \"/DIR\" needs a value after '='"},
        {"--log", "error: \"--log\" needs a value after '='"},
        {"/SILENT=yes", "error: \"/SILENT\" takes no value"},
        {"/DIR=" + std::string(199, 'd'), "dir=[" + std::string(199, 'd') + "] "},
        {"/DIR=" + std::string(200, 'd'), "error: The folder of \"/DIR\" is longer than 199 characters"},
    };
    for (const auto& row : rows) EXPECT_EQ(Summary(ParseCommandLine(row.line.c_str())), row.expected) << row.line;
}

}  // namespace
