// command_line.cpp: ParseCommandLine and the usage text. Pure: no file, no platform call.
#include "app/command_line.h"

#include "app/installer_app.h"
#include "app/texts.h"
#include "package/publisher_keys.h"

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
    "/DIR=\"C:\\Games\\Tallyfield\". Other words (a path like /home/x/update) are\n"
    "ignored. A word holding \"-pack\", unless it is one of these switches, packs\n"
    "\"update.dat\" instead.\n"
    "Exit codes: 0 updated, 1 packing failed, 2 not installed, 3 source missing or\n"
    "package corrupt, 4 write failed, 5 cancelled, 6 unknown switch or bad value,\n"
    "7 program error.\n";

std::string CommandLineUsageText() {
    std::string text = CommandLineUsage;
    if (PublisherKeyCount == 0) {
        return text + "This program checks no signature: \"SHA256SUMS.sig\" is ignored.\n";
    }
    text += "Only an update whose \"SHA256SUMS\" is signed (\"SHA256SUMS.sig\") by a publisher\n"
            "key is installed. Keys (SHA-256 of each key's DER):\n";
    for (int i = 0; i < PublisherKeyCount; ++i) text += std::string("  ") + PublisherKeys[i].fingerprint + "\n";
    return text;
}

std::string SignatureCheckLine() {
    if (PublisherKeyCount == 0) return "signatures: not checked (no publisher key built in)";
    std::string line = "signatures: \"SHA256SUMS.sig\" required, publisher key";
    for (int i = 0; i < PublisherKeyCount; ++i) line += std::string(i == 0 ? " " : ", ") + PublisherKeys[i].fingerprint;
    return line;
}

const char* const LanguageCodes[LanguageCount] = {"eng", "esp", "fra", "ita", "nor", "por", "sve"};

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A word cut into a switch's parts; `isSwitch` false for every other word.
struct SwitchWord {
    bool isSwitch = false;
    std::string shown;  // the word before '=' ("--log"), for the messages
    std::string name;   // the name in capitals ("LOG")
    bool hasValue = false;
    std::string value;  // after the first '='
};

// The rule of command_line.h: "/" or "--", a name of letters (or "?"), then the end or '='.
SwitchWord ReadSwitch(const std::string& word) {
    SwitchWord read;
    const size_t nameStart = word.compare(0, 2, "--") == 0 ? 2 : word.compare(0, 1, "/") == 0 ? 1 : 0;
    if (nameStart == 0) return read;
    size_t nameEnd = nameStart;
    if (word.compare(nameStart, 1, "?") == 0) {
        nameEnd = nameStart + 1;
    } else {
        while (nameEnd < word.size() && IsLetter(word[nameEnd])) ++nameEnd;
    }
    if (nameEnd == nameStart || (nameEnd < word.size() && word[nameEnd] != '=')) return read;
    read.isSwitch = true;
    read.shown = word.substr(0, nameEnd);
    read.name = UpperCase(word.substr(nameStart, nameEnd - nameStart));
    read.hasValue = nameEnd < word.size();
    if (read.hasValue) read.value = word.substr(nameEnd + 1);
    return read;
}

bool IsFlagName(const std::string& name) {
    return name == "SILENT" || name == "VERYSILENT" || name == "NOQSTDELETE" || name == "HELP" || name == "?";
}

bool IsValueName(const std::string& name) { return name == "LANG" || name == "DIR" || name == "LOG"; }

// Applies one switch to the options; returns the fault, or "".
std::string ApplySwitch(const SwitchWord& word, CommandLineOptions& options) {
    const std::string& name = word.name;
    const std::string& shown = word.shown;
    const std::string& value = word.value;
    bool* flag = nullptr;
    if (name == "SILENT") flag = &options.silent;
    if (name == "VERYSILENT") flag = &options.verySilent;
    if (name == "NOQSTDELETE") flag = &options.keepQuickStart;
    if (name == "HELP" || name == "?") flag = &options.help;
    if (flag != nullptr) {
        if (word.hasValue) return "\"" + shown + "\" takes no value";
        *flag = true;
        return "";
    }
    if (!IsValueName(name)) return "Unknown switch \"" + shown + "\"";
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

ParsedCommandLine ParseCommandLine(const CommandWords& words) {
    ParsedCommandLine parsed;
    for (const std::string& word : words) {
        const SwitchWord read = ReadSwitch(word);
        const bool recognised = read.isSwitch && (IsFlagName(read.name) || IsValueName(read.name));
        if (!recognised && word.find("-pack") != std::string::npos) {
            parsed.options.pack = true;
            return parsed;
        }
    }
    // Every word is read, also after a fault, so that a VERYSILENT run is known to be one.
    for (const std::string& word : words) {
        const SwitchWord read = ReadSwitch(word);
        if (!read.isSwitch) continue;  // not a switch: ignored, as ordinary words always were
        const std::string fault = ApplySwitch(read, parsed.options);
        if (parsed.error.empty()) parsed.error = fault;
    }
    return parsed;
}
