// posix_record_encoding.cpp: the record file's encodings (see posix_record_encoding.h).
#include "platform/posix/posix_record_encoding.h"

#include "platform/text_convert.h"

namespace {

const char kUtf16Mark[] = "\xFF\xFE";
const char kUtf8Mark[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const std::string& mark) { return bytes.compare(0, mark.size(), mark) == 0; }

// The strict conversions take zero-terminated texts: each stretch between zero characters is
// converted on its own and the zeros are put back (a surrogate pair never spans one, and a half
// before a zero is unpaired).
template <typename To, typename From, typename Convert>
bool ConvertAroundZeros(const From& from, To* to, Convert convert) {
    to->clear();
    for (size_t start = 0;;) {
        const size_t zero = from.find(typename From::value_type(0), start);
        To piece;
        if (!convert(from.substr(start, zero == From::npos ? From::npos : zero - start).c_str(), &piece)) return false;
        *to += piece;
        if (zero == From::npos) return true;
        to->push_back(typename To::value_type(0));
        start = zero + 1;
    }
}

}  // namespace

bool DecodeRecordFile(const std::string& bytes, RecordEncoding* encoding, std::string* text) {
    if (StartsWith(bytes, kUtf8Mark)) {
        *encoding = RecordEncoding::Utf8Marked;
        *text = bytes.substr(3);
        return true;
    }
    if (!StartsWith(bytes, kUtf16Mark)) {
        *encoding = RecordEncoding::Bytes;
        *text = bytes;
        return true;
    }
    *encoding = RecordEncoding::Utf16;
    if (bytes.size() % 2 != 0) return false;
    std::u16string units;
    for (size_t i = 2; i < bytes.size(); i += 2) {
        const unsigned low = static_cast<unsigned char>(bytes[i]), high = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(low | high << 8));
    }
    return ConvertAroundZeros(units, text, Utf16ToUtf8);
}

bool EncodeRecordFile(RecordEncoding encoding, const std::string& text, std::string* bytes) {
    if (encoding != RecordEncoding::Utf16) {
        *bytes = (encoding == RecordEncoding::Utf8Marked ? kUtf8Mark : "") + text;
        return true;
    }
    std::u16string units;
    if (!ConvertAroundZeros(text, &units, Utf8ToUtf16)) return false;
    *bytes = kUtf16Mark;
    for (char16_t unit : units) {
        bytes->push_back(static_cast<char>(unit & 0xFF));
        bytes->push_back(static_cast<char>(unit >> 8));
    }
    return true;
}

RecordLineStyle RecordLineStyleOf(RecordEncoding encoding) {
    if (encoding == RecordEncoding::Utf16) return RecordLineStyle{"Windows Registry Editor Version 5.00", "\r\n"};
    return RecordLineStyle();
}
