#include "base/TextUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(TextUtils_Trim, RemovesCodes32AndBelowOnlyAtTheEnds) {
    struct Row {
        std::string In, Out;
    };
    const Row Rows[] = {
        {"", ""},
        {"   ", ""},
        {std::string("\0\t a b \r\n\0", 10), "a b"},
        {"\x1f"
         "x"
         "\x7f",
         "x\x7f"},                  // DEL (127) is not blank
        {" \xc3\xb1 ", "\xc3\xb1"}, // ñ survives, bytes above 127 are never trimmed
        {"\xc2\xa0x\xc2\xa0", "\xc2\xa0x\xc2\xa0"},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(Trim(R.In), R.Out) << "input of " << R.In.size() << " bytes";
}

TEST(TextUtils_UpperCaseAscii, TouchesOnlyAToZ) {
    EXPECT_EQ(UpperCaseAscii("casa"), "CASA");
    EXPECT_EQ(UpperCaseAscii("a\xc3\xb1o caf\xc3\xa9 z{`"), "A\xc3\xb1O CAF\xc3\xa9 Z{`");
    EXPECT_EQ(UpperCaseAscii("\xc3\x91\xc3\x89"), "\xc3\x91\xc3\x89");
}

TEST(TextUtils_Utf8, CountsCharactersNotBytes) {
    struct Row {
        std::string Text;
        std::size_t Chars;
    };
    const Row Rows[] = {
        {"", 0},
        {"abc", 3},
        {"\xc3\xb1", 1},         // ñ
        {"\xe2\x82\xac", 1},     // €
        {"\xf0\x9f\x98\x80", 1}, // U+1F600
        {"a\xc3\xb1"
         "b\xe2\x82\xac",
         4},
        {"\xff\xc3", 2}, // stray bytes count one each
    };
    for (const Row& R : Rows)
        EXPECT_EQ(Utf8Length(R.Text), R.Chars) << R.Text;
}

TEST(TextUtils_Utf8Cut, NeverSplitsACharacter) {
    const std::string Mixed = "a\xc3\xb1\xe2\x82\xac\xf0\x9f\x98\x80z"; // a ñ € 😀 z
    EXPECT_EQ(Utf8Cut(Mixed, 0), "");
    EXPECT_EQ(Utf8Cut(Mixed, 1), "a");
    EXPECT_EQ(Utf8Cut(Mixed, 2), "a\xc3\xb1");
    EXPECT_EQ(Utf8Cut(Mixed, 3), "a\xc3\xb1\xe2\x82\xac");
    EXPECT_EQ(Utf8Cut(Mixed, 4), "a\xc3\xb1\xe2\x82\xac\xf0\x9f\x98\x80");
    EXPECT_EQ(Utf8Cut(Mixed, 5), Mixed);
    EXPECT_EQ(Utf8Cut(Mixed, 500), Mixed);
    const std::string Fifty(50, 'x');
    EXPECT_EQ(Utf8Length(Utf8Cut(Fifty + "\xc3\xb1", 50)), 50u);
    EXPECT_EQ(Utf8Cut(std::string(49, 'x') + "\xc3\xb1"
                                             "y",
                      50),
              std::string(49, 'x') + "\xc3\xb1");
}

TEST(TextUtils_Utf16, RoundTripsEveryPlane) {
    const std::string Text = "IP: 10.0.0.1 \xc3\xb1\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80";
    const std::u16string Wide = Utf8ToUtf16(Text);
    EXPECT_EQ(Wide, u"IP: 10.0.0.1 \u00f1\u00e9 \u20ac \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(Wide), Text);
}

TEST(TextUtils_Utf16, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xff"
                          "b"),
              u"a\ufffd"
              "b");
    EXPECT_EQ(Utf8ToUtf16("\xc3"), u"\ufffd");                     // truncated sequence
    EXPECT_EQ(Utf8ToUtf16("\xc0\x80"), u"\ufffd\ufffd");           // overlong NUL
    EXPECT_EQ(Utf8ToUtf16("\xed\xa0\x80"), u"\ufffd\ufffd\ufffd"); // encoded surrogate
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'x'}), "\xef\xbf\xbdx");
}

} // namespace
