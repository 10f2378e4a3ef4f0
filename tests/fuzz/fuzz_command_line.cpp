// fuzz_command_line.cpp: the command line, from the system's form to the options.
//
// Input: any bytes, read twice. As a Windows command-line text (up to the first NUL) it is split
// by SplitWindowsCommandLine; as Linux arguments the bytes are cut at every NUL. For both lists
// of words: JoinCommandWords gives a line that splits back into the very same words; ParseCommandLine
// keeps its promises (pack alone and without a fault, a folder of at most 199 characters without
// a trailing separator); and removing the words that are not switches and hold no "-pack"
// changes nothing, since such words are ignored.
#include <algorithm>
#include <string>

#include "app/command_line.h"
#include "framework/command_words.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool SameOptions(const ParsedCommandLine& a, const ParsedCommandLine& b) {
    const CommandLineOptions &x = a.options, &y = b.options;
    return x.pack == y.pack && x.help == y.help && x.silent == y.silent && x.verySilent == y.verySilent &&
           x.keepQuickStart == y.keepQuickStart && x.language == y.language && x.folder == y.folder &&
           x.logFile == y.logFile && a.error == b.error;
}

bool LooksLikeSwitch(const std::string& word) { return word.rfind("/", 0) == 0 || word.rfind("--", 0) == 0; }

void CheckWords(const CommandWords& words) {
    FUZZ_CHECK(SplitWindowsCommandLine(JoinCommandWords(words).c_str()) == words, "the joined line splits back");
    const ParsedCommandLine parsed = ParseCommandLine(words);
    const CommandLineOptions& o = parsed.options;
    if (o.pack) {
        FUZZ_CHECK(parsed.error.empty() && !o.help && !IsUnattended(o) && o.folder.empty() && o.logFile.empty(),
                   "pack mode reads nothing else");
    }
    FUZZ_CHECK(o.folder.size() < 200, "the folder fits the wizard's field");
    FUZZ_CHECK(o.folder.size() <= 1 || (o.folder.back() != '/' && o.folder.back() != '\\'), "no trailing separator");
    FUZZ_CHECK(o.language >= -1 && o.language < 7, "a language index");
    CommandWords kept;
    for (const std::string& word : words) {
        if (LooksLikeSwitch(word) || word.find("-pack") != std::string::npos) kept.push_back(word);
    }
    FUZZ_CHECK(SameOptions(ParseCommandLine(kept), parsed), "ordinary words are ignored");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckWords(SplitWindowsCommandLine(bytes.c_str()));
    CommandWords arguments;
    size_t start = 0;
    while (start <= bytes.size() && size > 0) {
        const size_t end = std::min(bytes.find('\0', start), bytes.size());
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    CheckWords(arguments);
    return 0;
}
