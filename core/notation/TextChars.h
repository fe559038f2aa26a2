#pragma once
// Characters of UTF-8 text, for messages that say where a text goes wrong:
// positions are counted in characters as the user typed them, not in bytes,
// and a character is named as written.
//
// A byte that does not begin a well-formed UTF-8 sequence counts as one
// character of its own.

#include <string>

#include <cstddef>
#include <cstdio>

namespace textchars {

// Bytes taken by the character that starts at byte nByte (1 for a byte that
// starts no well-formed sequence, 0 at the end of the text).
inline size_t CharLength(const std::string& strText, size_t nByte)
{
    if (nByte >= strText.size())
        return 0;
    const auto lead = static_cast<unsigned char>(strText[nByte]);
    size_t nLength = 1;
    unsigned long nMin = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        nLength = 2;
        nMin = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        nLength = 3;
        nMin = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        nLength = 4;
        nMin = 0x10000;
    } else {
        return 1;
    }
    if (nByte + nLength > strText.size())
        return 1;
    unsigned long nCode = lead & (0x7F >> nLength);
    for (size_t k = 1; k < nLength; ++k) {
        const auto next = static_cast<unsigned char>(strText[nByte + k]);
        if ((next & 0xC0) != 0x80)
            return 1;
        nCode = (nCode << 6) | (next & 0x3F);
    }
    if (nCode < nMin || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF))
        return 1;
    return nLength;
}

// Number of characters in the first nBytes bytes of the text (all of it by default).
inline size_t CharCount(const std::string& strText, size_t nBytes = std::string::npos)
{
    const size_t nEnd = nBytes < strText.size() ? nBytes : strText.size();
    size_t nCount = 0;
    for (size_t i = 0; i < nEnd; i += CharLength(strText, i))
        ++nCount;
    return nCount;
}

// "character N" for the character that starts at byte nByte, N counted from 1.
inline std::string CharPosition(const std::string& strText, size_t nByte)
{
    return "character " + std::to_string(CharCount(strText, nByte) + 1);
}

// The character that starts at byte nByte as a message shows it: in single
// quotes as written; a control character or a byte that is no UTF-8 by its
// code (U+0009, byte 0xE2).
inline std::string CharName(const std::string& strText, size_t nByte)
{
    const size_t nLength = CharLength(strText, nByte);
    if (nLength == 0)
        return "the end";
    const auto lead = static_cast<unsigned char>(strText[nByte]);
    char szCode[16];
    if (nLength == 1 && lead >= 0x80) {
        std::snprintf(szCode, sizeof szCode, "byte 0x%02X", static_cast<unsigned>(lead));
        return szCode;
    }
    if (lead < 0x20 || lead == 0x7F) {
        std::snprintf(szCode, sizeof szCode, "U+%04X", static_cast<unsigned>(lead));
        return szCode;
    }
    return "'" + strText.substr(nByte, nLength) + "'";
}

} // namespace textchars
