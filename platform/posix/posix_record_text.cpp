// posix_record_text.cpp: parsing and editing of registry export text (see posix_record_text.h).
#include "platform/posix/posix_record_text.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/posix/posix_path_map.h"

namespace {

const char kRoot[] = "HKEY_LOCAL_MACHINE\\";

// One logical line: physical lines [first, last] joined where a line ended in a backslash.
struct LogicalLine {
    size_t begin;      // offset of its first byte in the file text
    size_t end;        // offset just past its last line ending (or the end of the text)
    std::string text;  // the joined content without line endings
};

std::vector<LogicalLine> SplitLines(const std::string& fileText) {
    std::vector<LogicalLine> lines;
    size_t position = 0;
    while (position < fileText.size()) {
        LogicalLine line{position, position, std::string()};
        for (;;) {
            size_t newline = fileText.find('\n', position);
            size_t contentEnd = newline == std::string::npos ? fileText.size() : newline;
            size_t next = newline == std::string::npos ? fileText.size() : newline + 1;
            if (contentEnd > position && fileText[contentEnd - 1] == '\r') --contentEnd;
            std::string piece = fileText.substr(position, contentEnd - position);
            position = next;
            // Only an indented line continues one ending in a backslash (the export indents the
            // rest of hex data), so the unindented lines the writer adds never join another.
            bool continues = !piece.empty() && piece.back() == '\\' && position < fileText.size() &&
                             (fileText[position] == ' ' || fileText[position] == '\t');
            if (continues) {
                piece.pop_back();
                // The indentation is not data.
                size_t skip = 0;
                while (position + skip < fileText.size() && (fileText[position + skip] == ' ' || fileText[position + skip] == '\t')) ++skip;
                line.text += piece;
                position += skip;
                continue;
            }
            line.text += piece;
            break;
        }
        line.end = position;
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
    return text.substr(first, last - first);
}

// The key path of a section line "[HKEY_LOCAL_MACHINE\...]"; false for any other line. A
// section of another root key or a deletion "[-...]" gives true with an empty key path, so it
// ends the previous section without matching anything.
bool ParseSection(const std::string& line, std::string* keyPath) {
    std::string text = Trim(line);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;
    std::string inner = text.substr(1, text.size() - 2);
    keyPath->clear();
    std::string root = kRoot;
    if (inner.size() > root.size() && EqualIgnoringCase(inner.substr(0, root.size()), root))
        *keyPath = inner.substr(root.size());
    return true;
}

// Reads a quoted text starting at text[*position] == '"'; moves past the closing quote.
bool ParseQuoted(const std::string& text, size_t* position, std::string* value) {
    if (*position >= text.size() || text[*position] != '"') return false;
    value->clear();
    for (size_t i = *position + 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            *position = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= text.size()) return false;
            c = text[++i];
        }
        value->push_back(c);
    }
    return false;
}

bool ParseHexBytes(const std::string& text, std::string* bytes) {
    bytes->clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i >= text.size()) break;
        if (i + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
            return false;
        bytes->push_back(static_cast<char>(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
        i += 2;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i < text.size()) {
            if (text[i] != ',') return false;
            ++i;
        }
    }
    return true;
}

// Parses a value line into its name and data bytes; false for anything else.
bool ParseValue(const std::string& line, std::string* name, std::string* bytes) {
    std::string text = Trim(line);
    size_t position = 0;
    if (!ParseQuoted(text, &position, name)) return false;
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) ++position;
    if (position >= text.size() || text[position] != '=') return false;
    std::string data = Trim(text.substr(position + 1));
    if (!data.empty() && data[0] == '"') {
        size_t end = 0;
        if (!ParseQuoted(data, &end, bytes) || !Trim(data.substr(end)).empty()) return false;
        bytes->push_back('\0');
        return true;
    }
    if (data.compare(0, 6, "dword:") == 0) {
        std::string digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) return false;
        for (char c : digits)
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        unsigned long number = std::strtoul(digits.c_str(), nullptr, 16);
        bytes->clear();
        for (int i = 0; i < 4; ++i) bytes->push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
        return true;
    }
    if (data.compare(0, 4, "hex:") == 0) return ParseHexBytes(data.substr(4), bytes);
    if (data.compare(0, 4, "hex(") == 0) {
        size_t close = data.find("):");
        if (close == std::string::npos) return false;
        return ParseHexBytes(data.substr(close + 2), bytes);
    }
    return false;
}

std::string Escape(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"') escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

}  // namespace

bool FindRecordValue(const std::string& fileText, const std::string& keyPath, const std::string& valueName,
                     std::string* bytes) {
    bool inKey = false, found = false;
    std::string section, name, data;
    for (const LogicalLine& line : SplitLines(fileText)) {
        if (ParseSection(line.text, &section)) {
            inKey = !section.empty() && EqualIgnoringCase(section, keyPath);
            continue;
        }
        if (inKey && ParseValue(line.text, &name, &data) && EqualIgnoringCase(name, valueName)) {
            *bytes = data;
            found = true;
        }
    }
    return found;
}

std::string RecordKeyInFile(const std::string& fileText, const std::string& keyPath) {
    const std::string software = "Software\\";
    if (keyPath.size() <= software.size() || !EqualIgnoringCase(keyPath.substr(0, software.size()), software))
        return keyPath;
    const std::string redirected = software + "WOW6432Node\\" + keyPath.substr(software.size());
    bool plain = false, wow = false;
    std::string section;
    for (const LogicalLine& line : SplitLines(fileText)) {
        if (!ParseSection(line.text, &section) || section.empty()) continue;
        plain = plain || EqualIgnoringCase(section, keyPath);
        wow = wow || EqualIgnoringCase(section, redirected);
    }
    return wow && !plain ? redirected : keyPath;
}

namespace {

// Ends the text's last line before a line is added after it. A last line that ends in a lone
// carriage return (a damaged file) gets only the line feed: a second carriage return would stay
// in that line's text, and a section header ending in one is no longer read as one.
void EndLastLine(std::string& text, const std::string& newline) {
    if (text.empty() || text.back() == '\n') return;
    text += text.back() == '\r' ? "\n" : newline;
}

}  // namespace

bool SetRecordText(const std::string& fileText, const std::string& keyPath, const std::string& valueName,
                   const std::string& text, std::string* newFileText, const RecordLineStyle& style) {
    for (char c : text + valueName)
        if (c == '\n' || c == '\r' || c == '\0') return false;
    const std::string newline =
        !style.newline.empty() ? style.newline : fileText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string valueLine = "\"" + Escape(valueName) + "\"=\"" + Escape(text) + "\"";

    std::vector<LogicalLine> lines = SplitLines(fileText);
    bool inKey = false, valueFound = false, keyFound = false;
    size_t valueBegin = 0, valueEnd = 0, insertAt = 0;
    std::string section, name, data;
    for (const LogicalLine& line : lines) {
        if (ParseSection(line.text, &section)) {
            inKey = !section.empty() && EqualIgnoringCase(section, keyPath);
            if (inKey) {
                keyFound = true;
                insertAt = line.end;
            }
            continue;
        }
        if (!inKey) continue;
        if (ParseValue(line.text, &name, &data) && EqualIgnoringCase(name, valueName)) {
            valueFound = true;
            valueBegin = line.begin;
            valueEnd = line.end;
        }
        // New values go after the last non-empty line of the section, before its blank lines.
        if (!Trim(line.text).empty()) insertAt = line.end;
    }

    if (valueFound) {
        // Keep the line ending the replaced line had (none when it was the last line).
        std::string ending = fileText.substr(valueBegin, valueEnd - valueBegin);
        size_t lineEnd = ending.size();
        while (lineEnd > 0 && (ending[lineEnd - 1] == '\n' || ending[lineEnd - 1] == '\r')) --lineEnd;
        *newFileText = fileText.substr(0, valueBegin) + valueLine + ending.substr(lineEnd) + fileText.substr(valueEnd);
        return true;
    }
    if (keyFound) {
        std::string before = fileText.substr(0, insertAt);
        EndLastLine(before, newline);
        *newFileText = before + valueLine + newline + fileText.substr(insertAt);
        return true;
    }
    std::string result = fileText;
    if (result.empty()) result = style.header + newline;
    EndLastLine(result, newline);
    result += newline + "[" + kRoot + keyPath + "]" + newline + valueLine + newline;
    *newFileText = result;
    return true;
}
