// command_words.cpp: splitting a Windows command-line text into words, and the words as one line.
#include "framework/command_words.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

CommandWords SplitWindowsCommandLine(const char* text) {
    CommandWords words;
    if (text == nullptr) return words;
    std::string word;
    bool inWord = false, quoted = false;
    const char* p = text;
    while (*p != '\0') {
        if (IsBlank(*p) && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            ++p;
            continue;
        }
        inWord = true;
        if (*p == '\\') {
            size_t count = 0;
            while (p[count] == '\\') ++count;
            if (p[count] != '"') {
                word.append(count, '\\');
                p += count;
                continue;
            }
            word.append(count / 2, '\\');
            p += count;
            if (count % 2 == 1) {
                word += '"';
                ++p;
            }
            continue;  // an even run leaves the quote to the branch below
        }
        if (*p == '"') {
            if (quoted && p[1] == '"') {
                word += '"';
                quoted = false;
                p += 2;
            } else {
                quoted = !quoted;
                ++p;
            }
            continue;
        }
        word += *p++;
    }
    if (inWord) words.push_back(word);
    return words;
}

const char* SkipWindowsProgramName(const char* wholeLine) {
    if (wholeLine == nullptr) return "";
    const char* p = wholeLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    }
    while (*p != '\0' && !IsBlank(*p)) ++p;  // a name may go on after its quoted part
    while (IsBlank(*p)) ++p;
    return p;
}

std::string JoinCommandWords(const CommandWords& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) {
            line += word;
            continue;
        }
        line += '"';
        size_t backslashes = 0;
        for (char c : word) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes before a quote are doubled, and the quote gets one of its own.
            line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(backslashes * 2, '\\');  // before the closing quote
        line += '"';
    }
    return line;
}
