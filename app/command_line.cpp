// command_line.cpp: ParseCommandLine and the usage text. Pure: no file, no platform call.
#include "app/command_line.h"

#include <cstring>
#include <vector>

#include "app/installer_app.h"
#include "app/texts.h"

const char CommandLineUsage[] =
    "Usage: tlfupdate [switches]\n"
    "  /SILENT        the wizard shows its pages but asks nothing: Next and Finish are\n"
    "                 pressed by themselves, out-of-date quick-start files are deleted,\n"
    "                 the readme is not opened\n"
    "  /VERYSILENT    the same without any window; progress on standard error\n"
    "  /NOQSTDELETE   keep the quick-start files in a SILENT or VERYSILENT run\n"
    "  /LANG=code     eng, esp, fra, ita, nor, por or sve (the wizard then starts on\n"
    "                 the versions page)\n"
    "  /DIR=folder    the game folder instead of the installation record's; \"tlf.exe\"\n"
    "                 must be there\n"
    "  /LOG=file      append a plain text log of the run to the file\n"
    "  /HELP or /?    this text\n"
    "Switches may be written --name too, in any letter case; quote values with blanks:\n"
    "/DIR=\"C:\\Games\\Tallyfield\". Other words are ignored. A command line holding\n"
    "\"-pack\" anywhere, even inside a DIR= value, packs \"update.dat\" instead.\n"
    "Exit codes: 0 updated, 1 packing failed, 2 not installed, 3 source missing or\n"
    "package corrupt, 4 write failed, 5 cancelled, 6 unknown switch or bad value,\n"
    "7 program error.\n";

const char* const LanguageCodes[LanguageCount] = {"eng", "esp", "fra", "ita", "nor", "por", "sve"};

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits as the Windows command line is split for most programs, without its backslash rules:
// blanks separate words, a double quote starts or ends a quoted part and is removed.
std::vector<std::string> SplitWords(const char* text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (IsBlank(*p) && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += *p;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Applies one word to the options; returns the fault, or "". Words that are not switches are
// ignored, as they always were.
std::string ApplyWord(const std::string& word, CommandLineOptions& options) {
    size_t nameStart = 0;
    if (word.compare(0, 2, "--") == 0) {
        nameStart = 2;
    } else if (word.compare(0, 1, "/") == 0) {
        nameStart = 1;
    } else {
        return "";
    }
    const size_t equals = word.find('=');
    const std::string name = UpperCase(word.substr(nameStart, equals == std::string::npos ? std::string::npos : equals - nameStart));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? word.substr(equals + 1) : "";
    const std::string shown = word.substr(0, hasValue ? equals : std::string::npos);

    bool* flag = nullptr;
    if (name == "SILENT") flag = &options.silent;
    if (name == "VERYSILENT") flag = &options.verySilent;
    if (name == "NOQSTDELETE") flag = &options.keepQuickStart;
    if (name == "HELP" || name == "?") flag = &options.help;
    if (flag != nullptr) {
        if (hasValue) return "\"" + shown + "\" takes no value";
        *flag = true;
        return "";
    }
    if (name != "LANG" && name != "DIR" && name != "LOG") return "Unknown switch \"" + shown + "\"";
    if (value.empty()) return "\"" + shown + "\" needs a value after '='";
    if (name == "LANG") {
        for (int32_t i = 0; i < LanguageCount; ++i) {
            if (UpperCase(value) == UpperCase(LanguageCodes[i])) {
                options.language = i;
                return "";
            }
        }
        return "Bad value \"" + value + "\" for \"" + shown + "\": eng, esp, fra, ita, nor, por or sve";
    }
    if (name == "DIR") {
        if (value.size() >= static_cast<size_t>(WizardTextSize)) return "The folder of \"" + shown + "\" is longer than 199 characters";
        options.folder = value;
        // A trailing separator would double the one the wizard puts between folder and name.
        while (options.folder.size() > 1 && (options.folder.back() == '\\' || options.folder.back() == '/')) options.folder.pop_back();
        return "";
    }
    options.logFile = value;
    return "";
}

}  // namespace

ParsedCommandLine ParseCommandLine(const char* text) {
    ParsedCommandLine parsed;
    if (text == nullptr) return parsed;
    if (std::strstr(text, "-pack") != nullptr) {
        parsed.options.pack = true;
        return parsed;
    }
    // Every word is read, also after a fault, so that a VERYSILENT run is known to be one.
    for (const std::string& word : SplitWords(text)) {
        const std::string fault = ApplyWord(word, parsed.options);
        if (parsed.error.empty()) parsed.error = fault;
    }
    return parsed;
}
