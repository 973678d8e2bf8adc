#include "shell/GlobalUnit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Row {
    const char* Text;
    bool Valid;
};

const Row ValidatorRows[] = {
    {"192.168.1.1", true},
    {"10.0.0.1", true},
    {"192.168.00.1", true},
    {"1.2.3.0000", true},
    {"255.255.255.0", true},
    {"0.0.0.0", false},
    {"01.2.3.4", false},
    {"192.168.01.1", false},
    {"1.2.3.0004", false},
    {"256.1.1.1", false},
    {"1.2.3.256", false},
    {"1.2.3.1000", false},
    {"1234.1.1.1", false},
    {"1.2.3", false},
    {"1.2.3.4.5", false},
    {".1.2.3", false},
    {"1..2.3", false},
    {"1.2.3.", false},
    {"", false},
    {" 1.2.3.4", false},
    {"1.2.3.4 ", false},
    {"010.0.0.1", false}, // netsh would read 8.0.0.1
    {"3232235777", false},
    {"1", false},
    // 255 against 256 in every group
    {"255.1.1.1", true},
    {"1.255.1.1", true},
    {"1.1.255.1", true},
    {"1.1.1.255", true},
    {"1.256.1.1", false},
    {"1.1.256.1", false},
    {"1.1.1.256", false},
    {"999.1.1.1", false},
    // zeros written many ways
    {"1.0.0.0", true},
    {"1.00.000.0", true},
    {"1.000.00.00000000000000000000000000", true},
    {"1.2.3.00", true},
    {"00.1.1.1", false},
    {"000.1.1.1", false},
    {"0.1.1.1", false},
    {"1.001.1.1", false},
    {"1.1.010.1", false},
    {"1.1.1.01", false},
    {"1.1.1.0255", false},
    // group lengths: three digits at most in the first three, any length in the fourth
    {"1.1234.1.1", false},
    {"1.1.1234.1", false},
    {"1.1.1.0000000000000000000000000000001", false},
    {"1.1.1.99999999999999999999999999999999", false},
    {"1.1.1.4294967297", false}, // wraps to 1 in 32 bits
    {"1.1.1.2147483648", false},
    // signs, blanks, letters and non-ASCII digits
    {"+1.2.3.4", false},
    {"-1.2.3.4", false},
    {"1.-2.3.4", false},
    {"1.2.3.+4", false},
    {"1. 2.3.4", false},
    {"1.2.3.4\t", false},
    {"a.b.c.d", false},
    {"1.2.3.4a", false},
    {"0x1.2.3.4", false},
    {"1,2.3.4", false},
    {"\xd9\xa1.2.3.4", false},     // ARABIC-INDIC DIGIT ONE
    {"1.2.3.\xef\xbc\x94", false}, // FULLWIDTH DIGIT FOUR
    {"....", false},
    {"...", false},
};

TEST(AddressValidation_Validator, Table) {
    for (const Row& R : ValidatorRows) {
        EXPECT_EQ(IsValidIPAddress(R.Text), R.Valid) << '"' << R.Text << '"';
        EXPECT_EQ(CheckIPAddressError(R.Text), !R.Valid) << '"' << R.Text << '"';
    }
}

TEST(AddressValidation_Validator, EmbeddedNulIsNotADigit) {
    EXPECT_FALSE(IsValidIPAddress(std::string("1.2.3.4\0", 8)));
    EXPECT_FALSE(IsValidIPAddress(std::string("1.2\0.3.4", 8)));
}

TEST(AddressValidation_KeyFilter, DigitsBackspaceAndDotPass) {
    for (char32_t C = '0'; C <= '9'; ++C)
        EXPECT_EQ(AddressKeyFilter("", C), C);
    EXPECT_EQ(AddressKeyFilter("", 8), char32_t(8));
    EXPECT_EQ(AddressKeyFilter("1.2.3.4", 8), char32_t(8));
    EXPECT_EQ(AddressKeyFilter("", '.'), char32_t('.'));
}

TEST(AddressValidation_KeyFilter, EverythingElseIsSwallowed) {
    const char32_t Swallowed[] = {' ', '-', '+', 'a', 'Z', ',', '/',  ':',    0,      1,      3,
                                  22,  24,  26,  13,  27,  127, 0xF1, 0x0661, 0xFF14, 0x1F600};
    for (char32_t C : Swallowed)
        EXPECT_FALSE(AddressKeyFilter("1.2", C).has_value()) << static_cast<unsigned>(C);
}

TEST(AddressValidation_KeyFilter, FourthDotIsSwallowed) {
    struct DotRow {
        const char* Text;
        bool Passes;
    };
    const DotRow Rows[] = {
        {"1.2.3.4", false}, {"...", false}, {"1.2.3.4.5", false}, {"1.2.3", true},
        {"1..", true},      {"", true},     {"192.168.1", true},
    };
    for (const DotRow& R : Rows)
        EXPECT_EQ(AddressKeyFilter(R.Text, '.').has_value(), R.Passes) << R.Text;
}

} // namespace
