// text_convert.cpp: Windows-1252 <-> UTF-16 / UTF-8 for the window backends (see text_convert.h).
#include "platform/text_convert.h"

#include <utility>

namespace {

// Unicode characters of the bytes 0x80 to 0x9F, the only range where Windows-1252 differs from
// Latin-1. Undefined bytes keep their own value (a C1 control), as the system conversion does.
const uint16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Appends one Unicode scalar value as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Reads one UTF-8 character at text[*index] and advances the index past it. Returns the code
// point, or 0xFFFFFFFF for a malformed or overlong sequence (the index then moves on by one byte).
uint32_t ReadUtf8(const unsigned char* text, size_t* index) {
    const unsigned char lead = text[*index];
    int length = 0;
    uint32_t codePoint = 0;
    if (lead < 0x80) {
        *index += 1;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        *index += 1;
        return 0xFFFFFFFF;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = text[*index + i];
        if ((next & 0xC0) != 0x80) {  // also stops at the terminating zero
            *index += 1;
            return 0xFFFFFFFF;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static const uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    *index += length;
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0xFFFFFFFF;
    }
    return codePoint;
}

// The Windows-1252 byte of a Unicode character, or 0 when there is none.
uint8_t CodePointToWindows1252(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<uint8_t>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHighControlRange[i] == codePoint) return static_cast<uint8_t>(0x80 + i);
    }
    return 0;
}

// UTF-8 to Windows-1252: a character the code page lacks, or a malformed byte, becomes
// `replacement`, or is dropped when that is 0.
std::string ConvertUtf8ToWindows1252(const char* utf8, char replacement) {
    std::string out;
    if (utf8 == nullptr) return out;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(utf8);
    size_t index = 0;
    while (text[index] != 0) {
        const uint32_t codePoint = ReadUtf8(text, &index);
        const uint8_t byte = codePoint == 0xFFFFFFFF ? 0 : CodePointToWindows1252(codePoint);
        if (byte != 0) out += static_cast<char>(byte);
        else if (replacement != '\0') out += replacement;
    }
    return out;
}

}  // namespace

uint16_t Windows1252ToUnicode(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
    return byte;
}

bool IsDefinedInWindows1252(uint8_t byte) {
    return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

std::u16string Windows1252ToUtf16(const char* text) {
    std::u16string out;
    if (text == nullptr) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        out += static_cast<char16_t>(Windows1252ToUnicode(*p));
    }
    return out;
}

uint8_t Utf16UnitToWindows1252(uint16_t unit) { return CodePointToWindows1252(unit); }

std::string Windows1252ToUtf8(const char* text) {
    std::string out;
    if (text == nullptr) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        AppendUtf8(out, Windows1252ToUnicode(*p));
    }
    return out;
}

std::string Utf8ToWindows1252(const char* utf8) { return ConvertUtf8ToWindows1252(utf8, '\0'); }

bool Utf8ToUtf16(const char* utf8, std::u16string* out) {
    if (utf8 == nullptr || out == nullptr) return false;
    std::u16string result;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(utf8);
    size_t index = 0;
    while (text[index] != 0) {
        const uint32_t codePoint = ReadUtf8(text, &index);
        if (codePoint == 0xFFFFFFFF) return false;
        if (codePoint < 0x10000) {
            result += static_cast<char16_t>(codePoint);
        } else {
            result += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            result += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
    }
    *out = std::move(result);
    return true;
}

bool Utf16ToUtf8(const char16_t* utf16, std::string* out) {
    if (utf16 == nullptr || out == nullptr) return false;
    std::string result;
    for (size_t i = 0; utf16[i] != 0; ++i) {
        uint32_t codePoint = utf16[i];
        if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            const uint32_t low = utf16[i + 1];
            if (low < 0xDC00 || low > 0xDFFF) return false;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        AppendUtf8(result, codePoint);
    }
    *out = std::move(result);
    return true;
}

std::string PathForDisplay(const char* utf8) { return ConvertUtf8ToWindows1252(utf8, '?'); }
