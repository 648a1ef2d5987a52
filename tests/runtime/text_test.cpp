// Tests of the text operations and conversions, one rule per test, cases as rows.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "runtime/text.h"

using namespace orvelt;

namespace {

std::string S(const Text& text) { return NarrowBytes(text); }

TEST(IntToTextTest, DecimalWithMinusOnly) {
  struct Row { int32_t value; const char* expected; } rows[] = {
      {0, "0"}, {7, "7"}, {-7, "-7"}, {1234567890, "1234567890"},
      {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
  for (const Row& row : rows) EXPECT_EQ(S(IntToText(row.value)), row.expected) << row.value;
}

TEST(FloatToTextTest, NineDigitsPointAlwaysThreeDigitExponent) {
  struct Row { float value; const char* expected; } rows[] = {
      {1.5f, "1.50000000"}, {0.0f, "0.00000000"}, {100.0f, "100.000000"},
      {0.1f, "0.100000001"}, {1.0f / 3.0f, "0.333333343"}, {-2.5f, "-2.50000000"},
      {123456789.0f, "123456792."}, {1e10f, "1.00000000e+010"}, {1e-5f, "9.99999975e-006"},
      {2.0f, "2.00000000"}, {1e-4f, "9.99999975e-005"}, {1e9f, "1.00000000e+009"},
      {FLT_MAX, "3.40282347e+038"}, {-0.0f, "-0.00000000"},
      {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::infinity(), "-inf"},
      {std::numeric_limits<float>::quiet_NaN(), "nan"},
      {-std::numeric_limits<float>::quiet_NaN(), "nan"}};
  for (const Row& row : rows) EXPECT_EQ(S(FloatToText(row.value)), row.expected) << row.expected;
}

TEST(DoubleToTextTest, SeventeenDigitsPointAlwaysThreeDigitExponent) {
  struct Row { double value; const char* expected; } rows[] = {
      {0.5, "0.50000000000000000"}, {1.0, "1.0000000000000000"}, {0.0, "0.0000000000000000"},
      {3.14159265358979323846, "3.1415926535897931"}, {1e-16, "9.9999999999999998e-017"},
      {1e17, "1.0000000000000000e+017"}, {1e300, "1.0000000000000001e+300"},
      {DBL_MAX, "1.7976931348623157e+308"}, {5e-324, "4.9406564584124654e-324"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"}};
  for (const Row& row : rows) EXPECT_EQ(S(DoubleToText(row.value)), row.expected) << row.expected;
}

// printf in the C locale with the exponent widened to three digits: the reference form.
std::string PrintfForm(const char* format, double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, value);
  std::string text = buffer;
  std::size_t e = text.find('e');
  if (e != std::string::npos && text.size() - (e + 2) < 3) text.insert(e + 2, 3 - (text.size() - (e + 2)), '0');
  return text;
}

TEST(NumberTextTest, EqualsPrintfForEveryKindOfValue) {
  std::mt19937_64 bits(20240607);
  for (int i = 0; i < 200000; ++i) {
    uint64_t pattern = bits();
    double d;
    std::memcpy(&d, &pattern, sizeof d);
    uint32_t pattern32 = static_cast<uint32_t>(pattern >> 17);
    float f;
    std::memcpy(&f, &pattern32, sizeof f);
    // Scaled values land near the switch between the fixed and the exponent forms.
    double near = std::ldexp(static_cast<double>(pattern % 1000003), static_cast<int>(pattern % 90) - 60);
    if (std::isfinite(d)) {
      ASSERT_EQ(S(DoubleToText(d)), PrintfForm("%#.17g", d));
    }
    if (std::isfinite(f)) {
      ASSERT_EQ(S(FloatToText(f)), PrintfForm("%#.9g", static_cast<double>(f)));
    }
    ASSERT_EQ(S(DoubleToText(near)), PrintfForm("%#.17g", near));
    ASSERT_EQ(S(FloatToText(static_cast<float>(near))), PrintfForm("%#.9g", static_cast<double>(static_cast<float>(near))));
  }
}

TEST(NumberTextTest, RoundingAtTheSwitchBetweenForms) {
  struct Row { double value; const char* asDouble; const char* asFloat; } rows[] = {
      {999999999.5, "999999999.50000000", "1.00000000e+009"},
      {99999999.5, "99999999.500000000", "100000000."},
      {99999999950000000.0, "99999999950000000.", "9.99999984e+016"},
      {1e17, "1.0000000000000000e+017", "9.99999984e+016"},
      {0.0001, "0.00010000000000000000", "9.99999975e-005"},
      {0.000099999995, "9.9999994999999998e-005", "9.99999975e-005"}};
  for (const Row& row : rows) {
    EXPECT_EQ(S(DoubleToText(row.value)), row.asDouble) << row.asDouble;
    EXPECT_EQ(S(FloatToText(static_cast<float>(row.value))), row.asFloat) << row.asFloat;
  }
}

TEST(TextToIntTest, StopsAtTheFirstStranger) {
  struct Row { Text input; int32_t expected; } rows[] = {
      {u"  42abc", 42}, {u"-17", -17}, {u"+5", 5}, {u"$ff", 255}, {u"$FF", 255}, {u"%101", 5},
      {u"-$10", -16}, {u"-%11", -3}, {u"1.9", 1}, {u"abc", 0}, {u"", 0}, {u"- 5", 0},
      {u" 7 ", 7}, {u"7)", 7}, {u"(7", 0}, {u"\t\n\v\f\r 9", 9}, {u"-", 0}, {u"+", 0},
      {u"   ", 0}, {u"$", 0}, {u"%", 0}, {u"%102", 2}, {u"$fg", 15}, {u"+-5", 0},
      {u"0012", 12}, {u"$-1", 0}, {u"%$1", 0}};
  for (const Row& row : rows) EXPECT_EQ(TextToInt(row.input), row.expected) << S(row.input);
}

TEST(TextToIntTest, WrapsModuloTwoToThe32) {
  struct Row { Text input; int32_t expected; } rows[] = {
      {u"4294967297", 1}, {u"2147483648", INT32_MIN}, {u"-2147483648", INT32_MIN},
      {u"2147483647", INT32_MAX}, {u"4294967295", -1}, {u"$FFFFFFFF", -1},
      {u"$100000001", 1}, {u"%100000000000000000000000000000001", 1},
      {u"99999999999999999999", 1661992959}};
  for (const Row& row : rows) EXPECT_EQ(TextToInt(row.input), row.expected) << S(row.input);
}

TEST(TextToIntTest, UnitsAboveByteAreNeitherBlankNorDigit) {
  struct Row { Text input; int32_t expected; } rows[] = {
      {Text(u"\u00A05"), 0}, {Text(u"\u0130"), 0}, {Text(u"4\u0131"), 4},
      {Text(u"\u3000") + u"7", 0}, {Text(1, char16_t(0x0100 + '5')), 0},
      {Text(1, char16_t(0x0100 + ' ')) + u"5", 0}, {Text(u"\uFF11"), 0}};
  for (const Row& row : rows) EXPECT_EQ(TextToInt(row.input), row.expected);
}

TEST(TextToFloatTest, ReadsSignDigitsPointAndExponentOnly) {
  struct Row { Text input; float expected; } rows[] = {
      {u"1.5", 1.5f}, {u" -2.5e2x", -250.0f}, {u"abc", 0.0f}, {u"1.50000000", 1.5f},
      {u"", 0.0f}, {u".5", 0.5f}, {u"5.", 5.0f}, {u"+3", 3.0f}, {u"1e", 1.0f}, {u"1e+", 1.0f},
      {u"1E-2", 0.01f}, {u"\t\r\n 8", 8.0f}, {u"inf", 0.0f}, {u"nan", 0.0f},
      {u"infinity", 0.0f}, {u"0x10", 0.0f}, {u"1,5", 1.0f}, {u".", 0.0f}, {u"-.", 0.0f},
      {u"1.2.3", 1.2f}, {u"0.1", 0.1f}, {u"1e-400", 0.0f}, {u"3.4028234e38", FLT_MAX},
      {u"123456789", 123456792.0f}, {u"- 1", 0.0f}, {u"00000000000000000000000001", 1.0f}};
  for (const Row& row : rows) EXPECT_EQ(TextToFloat(row.input), row.expected) << S(row.input);
}

TEST(TextToFloatTest, OutOfRangeGivesInfinity) {
  struct Row { Text input; float expected; } rows[] = {
      {u"1e39", HUGE_VALF}, {u"-1e400", -HUGE_VALF}, {u"1e99999999999999999999", HUGE_VALF},
      {u"3.4028235e38", FLT_MAX}, {u"3.40282357e38", HUGE_VALF},
      {Text(u"0.") + Text(2000000, u'0') + u"1e2500000", HUGE_VALF},
      {Text(u"0.") + Text(2000000, u'0') + u"1e1999990", 1e-11f},
      {Text(2000000, u'1') + u"e-1999980", 1.11111111e19f},
      {Text(2000000, u'1') + u"e-2500000", 0.0f}};
  for (const Row& row : rows) EXPECT_EQ(TextToFloat(row.input), row.expected) << S(row.input);
}

TEST(TextToFloatTest, UnitsNarrowToTheirLowByteAndZeroEnds) {
  struct Row { Text input; float expected; } rows[] = {
      {Text(1, char16_t(0x0100 + '7')), 7.0f},
      {Text(1, char16_t(0x4100 + '2')) + Text(1, char16_t(0x0100 + '.')) + u"5", 2.5f},
      {Text(u"1") + Text(1, char16_t(0x0200)) + u"5", 1.0f},
      {Text(u"4") + Text(1, u'\0') + u"5", 4.0f}};
  for (const Row& row : rows) EXPECT_EQ(TextToFloat(row.input), row.expected);
}

TEST(FloatToIntTest, TruncatesAndGivesMinimumOutsideTheRange) {
  struct Row { double value; int32_t expected; } rows[] = {
      {1.9, 1}, {-1.9, -1}, {0.0, 0}, {2147483647.9, INT32_MAX}, {-2147483648.9, INT32_MIN},
      {2147483648.0, INT32_MIN}, {-2147483649.0, INT32_MIN}, {1e300, INT32_MIN},
      {std::numeric_limits<double>::infinity(), INT32_MIN},
      {std::numeric_limits<double>::quiet_NaN(), INT32_MIN}};
  for (const Row& row : rows) EXPECT_EQ(FloatToInt(row.value), row.expected) << row.value;
}

TEST(TrimTextTest, DropsUnitsOf32AndBelowAtBothEnds) {
  struct Row { Text input; Text expected; } rows[] = {
      {u" \t a b \r\n", u"a b"}, {u"", u""}, {u" \x01\x1F ", u""}, {u"x", u"x"},
      {Text(u"\0a\0", 3), u"a"}, {u"\u00A0a\u00A0", u"\u00A0a\u00A0"}, {u"!a!", u"!a!"}};
  for (const Row& row : rows) EXPECT_EQ(TrimText(row.input), row.expected) << S(row.input);
}

TEST(LetterCaseTest, OnlyAsciiLettersChange) {
  struct Row { Text input; Text lower; Text upper; } rows[] = {
      {u"AbZ@[`{z", u"abz@[`{z", u"ABZ@[`{Z"}, {u"ÄÖÜäöü", u"ÄÖÜäöü", u"ÄÖÜäöü"}, {u"", u"", u""}};
  for (const Row& row : rows) {
    EXPECT_EQ(LowerText(row.input), row.lower);
    EXPECT_EQ(UpperText(row.input), row.upper);
  }
}

TEST(FindTextTest, FirstOccurrenceFromStart) {
  struct Row { Text s; Text pattern; int start; int expected; } rows[] = {
      {u"abcabc", u"c", 4, 6}, {u"abc", u"d", 1, 0}, {u"abcabc", u"abc", 1, 1},
      {u"abcabc", u"abc", 2, 4}, {u"abcabc", u"c", -5, 3}, {u"abcabc", u"c", INT_MIN, 3},
      {u"abc", u"c", 4, 0}, {u"abc", u"c", INT_MAX, 0}, {u"abc", u"", 2, 2}, {u"abc", u"", 4, 4},
      {u"abc", u"", 5, 0}, {u"abc", u"", 0, 1}, {u"abc", u"", INT_MIN, 1}, {u"", u"", 1, 1},
      {u"", u"a", 1, 0}, {u"aB", u"b", 1, 0}, {u"abc", u"abcd", 1, 0}, {u"ab", u"b", 2, 2},
      {u"ab", u"b", 3, 0}};
  for (const Row& row : rows)
    EXPECT_EQ(FindText(row.s, row.pattern, row.start), row.expected)
        << S(row.s) << " / " << S(row.pattern) << " from " << row.start;
}

TEST(FindTextTest, StartDefaultsToOne) { EXPECT_EQ(FindText(u"xax", u"x"), 1); }

TEST(ReplaceTextTest, ScansOnAfterEachOccurrence) {
  struct Row { Text s; Text pattern; Text replacement; Text expected; } rows[] = {
      {u"aaa", u"aa", u"b", u"ba"}, {u"x", u"", u"y", u"x"}, {u"abab", u"ab", u"ab ab", u"ab abab ab"},
      {u"aaaa", u"a", u"aa", u"aaaaaaaa"}, {u"a\"b\"", u"\"", u"", u"ab"}, {u"", u"a", u"b", u""},
      {u"abc", u"abc", u"", u""}, {u"Abc", u"a", u"x", u"Abc"}, {u"x1x", u"x", u"yx", u"yx1yx"}};
  for (const Row& row : rows)
    EXPECT_EQ(ReplaceText(row.s, row.pattern, row.replacement), row.expected) << S(row.s);
}

TEST(LeftRightTextTest, ClampedCounts) {
  struct Row { Text s; int count; Text left; Text right; } rows[] = {
      {u"hello", 2, u"he", u"lo"}, {u"hello", 0, u"", u""}, {u"hello", -3, u"", u""},
      {u"hello", 5, u"hello", u"hello"}, {u"hello", 99, u"hello", u"hello"},
      {u"hello", INT_MAX, u"hello", u"hello"}, {u"hello", INT_MIN, u"", u""}, {u"", 3, u"", u""}};
  for (const Row& row : rows) {
    EXPECT_EQ(LeftText(row.s, row.count), row.left) << row.count;
    EXPECT_EQ(RightText(row.s, row.count), row.right) << row.count;
  }
}

TEST(MidTextTest, ClampsAndPadsANegativeStart) {
  struct Row { int pos; int count; Text expected; } rows[] = {
      {2, 3, u"ell"}, {4, 10, u"lo"}, {2, -1, u"ello"}, {6, 1, u""}, {0, 2, u"h"},
      {0, -1, u" hello"}, {-2, -1, u"   hello"}, {-2, -5, u"   hello"}, {-2, 4, u"h"},
      {-2, 3, u""}, {-2, 0, u""}, {1, 0, u""}, {5, -1, u"o"}, {6, -1, u""}, {7, -1, u""},
      {1, INT_MAX, u"hello"}, {INT_MAX, INT_MAX, u""}, {INT_MAX, -1, u""}, {INT_MIN, 5, u""},
      {INT_MIN, INT_MAX, u""}, {3, INT_MIN, u"llo"}, {1, 5, u"hello"}};
  for (const Row& row : rows)
    EXPECT_EQ(MidText(u"hello", row.pos, row.count), row.expected) << row.pos << ", " << row.count;
}

TEST(MidTextTest, CountDefaultsToTheRest) { EXPECT_EQ(MidText(u"hello", 3), u"llo"); }

TEST(MidTextTest, HugePaddingIsBounded) {
  Text padded = MidText(u"ab", INT_MIN, -1);
  ASSERT_EQ(padded.size(), (std::size_t{1} << 24) + 2);
  EXPECT_EQ(padded.substr(padded.size() - 3), u" ab");
  EXPECT_EQ(padded.find_first_not_of(u' '), padded.size() - 2);
}

TEST(CharTextTest, CodeModulo65536) {
  struct Row { int code; char16_t expected; } rows[] = {
      {65, u'A'}, {0, u'\0'}, {65535, 0xFFFF}, {65536, 0}, {65536 + 66, u'B'}, {-1, 0xFFFF},
      {INT_MIN, 0}, {228, u'ä'}};
  for (const Row& row : rows) EXPECT_EQ(CharText(row.code), Text(1, row.expected)) << row.code;
}

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareTextTest, UnitDifferenceThenLengthDifference) {
  struct Row { Text a; Text b; int expected; } rows[] = {
      {u"abc", u"abc", 0}, {u"abc", u"abd", -1}, {u"b", u"a", 1}, {u"ab", u"abcd", -2},
      {u"abcd", u"a", 3}, {u"", u"", 0}, {u"A", u"a", -32}, {u"\uFFFF", u"a", 0xFFFF - 'a'},
      {u"a", u"\uFFFF", 'a' - 0xFFFF}};
  for (const Row& row : rows) {
    EXPECT_EQ(CompareText(row.a, row.b), row.expected) << S(row.a) << " / " << S(row.b);
    EXPECT_EQ(Sign(CompareText(row.b, row.a)), -Sign(row.expected));
  }
}

TEST(DecodeBytesTest, Utf8WithMultiByteSequencesElseOneUnitPerByte) {
  struct Row { std::string bytes; Text expected; } rows[] = {
      {"abc", u"abc"},
      {"gr\xC3\xBC\xC3\x9F", u"grüß"},
      {"\xEF\xBB\xBFok", u"ok"},
      {"\xEF\xBB\xBF", u""},
      {"a\xEF\xBB\xBF", u"a\uFEFF"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"gr\xFC\xDF", Text(u"gr") + Text(1, 0xFC) + Text(1, 0xDF)},
      {"\xC3\xBC\xFC", Text(1, 0xC3) + Text(1, 0xBC) + Text(1, 0xFC)},
      {"\xC0\xAF", Text(1, 0xC0) + Text(1, 0xAF)},
      {"\xE0\x80\xAF", Text(1, 0xE0) + Text(1, 0x80) + Text(1, 0xAF)},
      {"\xED\xA0\x80", Text(1, 0xED) + Text(1, 0xA0) + Text(1, 0x80)},
      {"\xF4\x90\x80\x80", Text(1, 0xF4) + Text(1, 0x90) + Text(1, 0x80) + Text(1, 0x80)},
      {"\xC3", Text(1, 0xC3)},
      {"\xE2\x82", Text(1, 0xE2) + Text(1, 0x82)},
      {std::string("a\0\xC3\xA4", 4), Text(u"a\0ä", 3)},
      {"", u""}};
  for (const Row& row : rows) EXPECT_EQ(DecodeBytes(row.bytes), row.expected) << row.bytes;
}

TEST(EncodeTest, UnitByUnitAndCombined) {
  struct Row { Text text; std::string units; std::string combined; } rows[] = {
      {u"a", "a", "a"},
      {u"ä", "\xC3\xA4", "\xC3\xA4"},
      {u"\u20AC", "\xE2\x82\xAC", "\xE2\x82\xAC"},
      {u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80", "\xF0\x9F\x98\x80"},
      {Text(1, 0xD800), "\xED\xA0\x80", "\xED\xA0\x80"},
      {Text(u"\0", 1), std::string("\0", 1), std::string("\0", 1)},
      {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80", "\xDF\xBF\xE0\xA0\x80"}};
  for (const Row& row : rows) {
    EXPECT_EQ(EncodeUtf8Units(row.text), row.units);
    EXPECT_EQ(EncodeUtf8(row.text), row.combined);
  }
}

TEST(EncodeTest, DecodeGivesBackWhatEncodeWrote) {
  Text texts[] = {u"grüße", u"\U0001F600 x", u"\u20AC"};
  for (const Text& text : texts) EXPECT_EQ(DecodeBytes(EncodeUtf8(text)), text);
}

TEST(NarrowBytesTest, LowEightBitsAndBack) {
  EXPECT_EQ(NarrowBytes(Text(u"a\u0142\u00FF")), "a\x42\xFF");
  EXPECT_EQ(TextFromLatin1("a\xFF"), Text(u"a\u00FF"));
}

}  // namespace
