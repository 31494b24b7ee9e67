// Shift_JIS (code page 932) byte classes and the conversions between
// Shift_JIS and EUC-JP. Sources are read as Shift_JIS and handed to the
// scanner as EUC-JP, where every byte of a double-byte character is 0xA1 or
// above and can never be taken for a quote, a backslash or an operator.
#pragma once

#include <string>
#include <string_view>

// Lead byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
bool isLeadByte(unsigned char c);
// Byte allowed after a lead byte: 0x40-0x7E and 0x80-0xFC.
bool isTrailByte(unsigned char c);

// Converts a NUL-terminated Shift_JIS text to EUC-JP. Double-byte
// characters are mapped arithmetically, except those with lead bytes
// 0xF0-0xFC, which become 0x8F and two bytes so that they come back
// unchanged; half-width katakana get the 0x8E prefix; every other byte is
// copied.
std::string sjisToEuc(const char* text);

// Converts EUC-JP back to Shift_JIS: 0x8E drops its prefix, 0x8F and two
// bytes are the 0xF0-0xFC characters above (any other such sequence is
// dropped), other pairs are mapped arithmetically. A high byte without a
// following byte is copied as it is.
std::string eucToSjis(std::string_view text);
