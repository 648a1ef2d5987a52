// Texts of 16-bit code units and the exact conversions and cuts both interpreters rely on.
// Positions are 1-based; 0 means absent.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace orvelt {

using Text = std::u16string;

Text IntToText(int32_t value);
Text FloatToText(float value);    // "%#.9g", exponent with at least three digits; "inf", "-inf", "nan"
Text DoubleToText(double value);  // "%#.17g", likewise
int32_t TextToInt(std::u16string_view s);  // sign, "$" hex, "%" binary, decimal; wraps; stops at the first stranger
float TextToFloat(std::u16string_view s);  // only sign, digits, point and exponent are read

Text TrimText(const Text& s);  // drops units of 32 or below at both ends
Text LowerText(const Text& s);
Text UpperText(const Text& s);
int FindText(const Text& s, const Text& pattern, int start = 1);
Text ReplaceText(const Text& s, const Text& pattern, const Text& replacement);
Text LeftText(const Text& s, int count);
Text RightText(const Text& s, int count);
Text MidText(const Text& s, int pos, int count = -1);
Text CharText(int code);
int CompareText(const Text& a, const Text& b);

// Float or double to integer: truncation toward zero; NaN, infinities and values outside the
// 32-bit range give -2147483648.
int32_t FloatToInt(double value);

// Bytes to text: valid UTF-8 holding at least one multi-byte sequence is decoded (a leading
// byte-order mark dropped, characters beyond U+FFFF as surrogate pairs); anything else keeps
// one code unit per byte.
Text DecodeBytes(std::string_view bytes);
// Text to UTF-8 unit by unit, as console output writes it (surrogates are not combined).
std::string EncodeUtf8Units(const Text& s);
// Text to UTF-8 with surrogate pairs combined: gives back the bytes DecodeBytes decoded.
std::string EncodeUtf8(const Text& s);
// The low 8 bits of every unit, one byte each.
std::string NarrowBytes(const Text& s);
// Plain ASCII or Latin-1 literal to text, one unit per byte.
Text TextFromLatin1(std::string_view bytes);

}  // namespace orvelt
