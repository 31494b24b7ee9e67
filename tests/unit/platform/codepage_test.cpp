#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

// Every valid double-byte character of code page 932.
std::vector<std::string> allDoubleByteCharacters() {
    std::vector<std::string> all;
    for (int c1 = 0x80; c1 <= 0xFF; ++c1) {
        if (!isLeadByte(static_cast<unsigned char>(c1))) continue;
        for (int c2 = 0x40; c2<= 0xFC; ++c2)
            if (isTrailByte(static_cast<unsigned char>(c2))) all.push_back(bytes({c1, c2}));
    }
    return all;
}

// One conversion through iconv; false when iconv has no mapping.
bool iconvConvert(iconv_t cd, const std::string& in, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string input = in;
    char buffer[16];
    char* ip = input.data();
    char* op = buffer;
    std::size_t il = input.size(), ol = sizeof buffer;
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) return false;
    out.assign(buffer, op);
    return true;
}

}  // namespace

TEST(CodePage, ByteClassesAndKnownCharacters) {
    // Range ends of the lead and trail classes.
    for (int c : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(isLeadByte(c)) << c;
    for (int c : {0x80, 0xA0, 0xDF, 0xFD, 0x5C}) EXPECT_FALSE(isLeadByte(c)) << c;
    for (int c : {0x40, 0x7E, 0x80, 0xFC}) EXPECT_TRUE(isTrailByte(c)) << c;
    for (int c : {0x3F, 0x7F, 0xFD}) EXPECT_FALSE(isTrailByte(c)) << c;
    // Half-width katakana gains the single-shift prefix.
    EXPECT_EQ(sjisToEuc(bytes({0xB1, 0}).c_str()), bytes({0x8E, 0xB1}));
    EXPECT_EQ(eucToSjis(bytes({0x8E, 0xB1})), bytes({0xB1}));
    EXPECT_EQ(sjisToEuc("ASCII \\ \" text"), "ASCII \\ \" text");
}

// Every character comes back unchanged, and no byte of its converted form
// can be taken for a quote, a backslash or an operator (the scanner relies
// on that).
TEST(CodePage, EveryCharacterSurvivesTheRoundTripInHighBytes) {
    for (const std::string& c : allDoubleByteCharacters()) {
        for (unsigned char b : sjisToEuc(c.c_str())) ASSERT_GE(b, 0x8E) << std::hex << (c[0] & 0xFF) << (c[1] & 0xFF);
        std::string text = "a" + c + "\\";
        ASSERT_EQ(eucToSjis(sjisToEuc(text.c_str())), text) << std::hex << (c[0] & 0xFF) << ' ' << (c[1] & 0xFF);
    }
    for (int k = 0xA1; k <= 0xDF; ++k) EXPECT_EQ(eucToSjis(sjisToEuc(bytes({k, 0}).c_str())), bytes({k}));
}

TEST(CodePage, IncompleteSequencesStayInsideTheText) {
    // A lead byte without a valid trail byte is copied; a high byte at the
    // very end comes back alone; single shifts at the end read nothing past it.
    EXPECT_EQ(sjisToEuc(bytes({0x81, 0x20, 0}).c_str()), bytes({0x81, 0x20}));
    EXPECT_EQ(sjisToEuc(bytes({'x', 0x81, 0}).c_str()), bytes({'x', 0x81}));
    EXPECT_EQ(eucToSjis(bytes({'x', 0xB0})), bytes({'x', 0xB0}));
    EXPECT_EQ(eucToSjis(bytes({'x', 0x8E})), "x");
    EXPECT_EQ(eucToSjis(bytes({'x', 0x8F, 0xB0})), "x");
    // A JIS X 0212 character has no Shift_JIS form and is dropped.
    EXPECT_EQ(eucToSjis(bytes({'a', 0x8F, 0xD0, 0xA1, 'b'})), "ab");
}

// iconv as an independent oracle. Where its tables and ours differ, ours
// holds: the EUC-JP form only lives inside the scanner, and what matters is
// that it is high-byte only and comes back unchanged. The differences:
//  - 0x8160 (wave dash): iconv goes through U+FF5E to JIS X 0212 0x8FA2B7,
//    the arithmetic gives JIS X 0208 0xA1C1;
//  - lead 0x87 (NEC row 13 symbols): iconv maps the few it knows elsewhere,
//    the arithmetic gives row 13 (0xADxx);
//  - leads 0xED, 0xEE (NEC-selected IBM extensions): iconv gives JIS X 0212,
//    the arithmetic rows 89 to 92;
//  - leads 0xFA-0xFC (IBM extensions): iconv gives JIS X 0212, ours the
//    three-byte form that keeps them intact (0xF0-0xF9 iconv cannot convert).
// In the other direction every EUC-JP pair iconv converts agrees.
TEST(CodePage, AgreesWithIconvOutsideTheVendorRows) {
    iconv_t toEuc = iconv_open("EUC-JP", "CP932");
    iconv_t toSjis = iconv_open("CP932", "EUC-JP");
    ASSERT_NE(toEuc, reinterpret_cast<iconv_t>(-1));
    ASSERT_NE(toSjis, reinterpret_cast<iconv_t>(-1));
    auto vendorRow = [](const std::string& c) {
        unsigned c1 = c[0] & 0xFF, c2 = c[1] & 0xFF;
        return (c1 == 0x81 && c2 == 0x60) || c1 == 0x87 || c1 == 0xED || c1 == 0xEE || c1 >= 0xFA;
    };
    int compared = 0, differing = 0;
    for (const std::string& c : allDoubleByteCharacters()) {
        std::string expected;
        if (!iconvConvert(toEuc, c, expected)) continue;
        std::string ours = sjisToEuc(c.c_str());
        if (vendorRow(c)) {
            differing += ours != expected;
            continue;
        }
        ++compared;
        EXPECT_EQ(ours, expected) << std::hex << (c[0] & 0xFF) << ' ' << (c[1] & 0xFF);
    }
    EXPECT_GT(compared, 6800);  // all of JIS X 0208 that iconv knows
    EXPECT_GT(differing, 500);  // the listed rows really are the vendor ones

    int back = 0;
    for (int b1 = 0xA1; b1 <= 0xFE; ++b1)
        for (int b2 = 0xA1; b2 <= 0xFE; ++b2) {
            std::string euc = bytes({b1, b2}), expected;
            if (!iconvConvert(toSjis, euc, expected)) continue;
            ++back;
            EXPECT_EQ(eucToSjis(euc), expected) << std::hex << b1 << ' ' << b2;
        }
    EXPECT_GT(back, 6800);
    iconv_close(toEuc);
    iconv_close(toSjis);
}
