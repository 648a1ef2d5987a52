// Conversions between texts and numbers: decimal text of integers, printf-style text of floats and
// doubles, and the lenient readers that stop at the first character that does not fit.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

#include "runtime/text.h"

namespace orvelt {

namespace {

struct NumberPrefix {
  char16_t sign;
  int base;
};
constexpr NumberPrefix kNumberPrefixes[] = {{u'%', 2}, {u'$', 16}};

// "%" binary, "$" hexadecimal, decimal without a prefix; only one prefix is taken.
int TakeBase(std::u16string_view s, std::size_t* i) {
  for (const NumberPrefix& prefix : kNumberPrefixes) {
    if (*i < s.size() && s[*i] == prefix.sign) {
      ++*i;
      return prefix.base;
    }
  }
  return 10;
}

constexpr bool IsBlankUnit(char16_t c) { return c == 32 || (c >= 9 && c <= 13); }

// Units above 255 are neither digits nor blanks: the classification covers 0 to 255 only.
int DigitValue(char16_t c, int base) {
  int value = 99;
  if (c >= u'0' && c <= u'9') value = c - u'0';
  else if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
  return value < base ? value : -1;
}

// Scientific form comes with at least two exponent digits; the house form has at least three.
std::string WidenExponent(std::string s) {
  std::size_t e = s.find('e');
  if (e == std::string::npos || e + 1 >= s.size()) return s;
  std::size_t digits = e + 2;  // past "e" and its sign
  std::size_t count = s.size() - digits;
  if (count < 3) s.insert(digits, 3 - count, '0');
  return s;
}

Text NonFiniteText(double value) {
  if (std::isnan(value)) return u"nan";
  return value < 0 ? u"-inf" : u"inf";
}

int ExponentOf(const std::string& scientific) {
  std::size_t e = scientific.find('e');
  int exponent = 0;
  for (std::size_t i = e + 2; i < scientific.size(); ++i) exponent = exponent * 10 + (scientific[i] - '0');
  return scientific[e + 1] == '-' ? -exponent : exponent;
}

std::string CharsOf(double value, std::chars_format format, int precision) {
  char buffer[400];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, end);
}

// printf's "%#.<digits>g" built from to_chars, which, unlike printf, ignores the locale: a
// program that set a locale with a decimal comma still prints points.
Text FormatWithDigits(double value, int digits) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  std::string scientific = CharsOf(value, std::chars_format::scientific, digits - 1);
  int exponent = ExponentOf(scientific);
  if (exponent < -4 || exponent >= digits) return TextFromLatin1(WidenExponent(scientific));
  std::string fixed = CharsOf(value, std::chars_format::fixed, digits - 1 - exponent);
  if (fixed.find('.') == std::string::npos) fixed.push_back('.');
  return TextFromLatin1(fixed);
}

// The accepted characters of a float text: digits, an optional point and an optional exponent,
// without the sign; what atof would read, and nothing it would read besides ("inf", hex, ",").
struct FloatSpelling {
  std::string body;
  bool negative = false;
  long long magnitude = 0;  // decimal exponent of the leading non-zero digit, roughly
};

bool MayBeInFloatSpelling(char byte) {
  return (byte >= '0' && byte <= '9') || byte == '.' || byte == '+' || byte == '-' || byte == 'e' || byte == 'E' ||
         IsBlankUnit(static_cast<unsigned char>(byte));
}

// Narrowing stops at a zero byte and at the first byte no float spelling holds, where reading
// would stop anyway: a long text costs only its leading number.
std::string NarrowFloatPrefix(std::u16string_view s) {
  std::string bytes;
  for (char16_t c : s) {
    char byte = static_cast<char>(c & 0xFF);
    if (byte == 0 || !MayBeInFloatSpelling(byte)) break;
    bytes.push_back(byte);
  }
  return bytes;
}

bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }

// Far beyond any digit count a text can hold, so the magnitude never overflows.
constexpr long long kExponentCap = 1000000000000000;

// Reads the optional exponent; it only counts when at least one digit follows "e" and its sign.
std::size_t ReadExponent(const std::string& s, std::size_t i, FloatSpelling* out) {
  if (i >= s.size() || (s[i] != 'e' && s[i] != 'E')) return i;
  std::size_t j = i + 1;
  bool negative = false;
  if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
  if (j >= s.size() || !IsDigitByte(s[j])) return i;
  long long exponent = 0;
  std::string text = "e";
  if (negative) text.push_back('-');
  for (; j < s.size() && IsDigitByte(s[j]); ++j) {
    text.push_back(s[j]);
    if (exponent < kExponentCap) exponent = exponent * 10 + (s[j] - '0');
  }
  out->body += text;
  out->magnitude += negative ? -exponent : exponent;
  return j;
}

bool ReadMantissa(const std::string& s, std::size_t* i, FloatSpelling* out) {
  bool anyDigit = false;
  bool afterPoint = false;
  long long integerDigits = 0;
  long long leadingFractionZeros = 0;
  bool seenNonZero = false;
  for (; *i < s.size(); ++*i) {
    char c = s[*i];
    if (c == '.' && !afterPoint) {
      afterPoint = true;
    } else if (IsDigitByte(c)) {
      anyDigit = true;
      if (c != '0') seenNonZero = true;
      if (!afterPoint && seenNonZero) ++integerDigits;
      if (afterPoint && !seenNonZero) ++leadingFractionZeros;
    } else {
      break;
    }
    out->body.push_back(c);
  }
  out->magnitude = integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1);
  return anyDigit;
}

bool SpellFloat(const std::string& s, FloatSpelling* out) {
  std::size_t i = 0;
  while (i < s.size() && IsBlankUnit(static_cast<unsigned char>(s[i]))) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out->negative = s[i++] == '-';
  if (!ReadMantissa(s, &i, out)) return false;
  ReadExponent(s, i, out);
  return true;
}

double ConvertSpelling(const FloatSpelling& spelling) {
  double value = 0;
  const char* first = spelling.body.data();
  const char* last = first + spelling.body.size();
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  // Out of range means too large or too small for a double: as the C library does, infinity
  // or zero.
  if (error == std::errc::result_out_of_range) {
    value = spelling.magnitude >= 0 ? HUGE_VAL : 0.0;
  } else if (error != std::errc()) {
    value = 0;
  }
  return spelling.negative ? -value : value;
}

}  // namespace

Text IntToText(int32_t value) {
  char buffer[16];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return TextFromLatin1(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

Text FloatToText(float value) { return FormatWithDigits(static_cast<double>(value), 9); }

Text DoubleToText(double value) { return FormatWithDigits(value, 17); }

int32_t TextToInt(std::u16string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlankUnit(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int base = TakeBase(s, &i);
  uint32_t value = 0;
  for (; i < s.size(); ++i) {
    int digit = DigitValue(s[i], base);
    if (digit < 0) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

float TextToFloat(std::u16string_view s) {
  FloatSpelling spelling;
  if (!SpellFloat(NarrowFloatPrefix(s), &spelling)) return 0.0f;
  double value = ConvertSpelling(spelling);
  // Beyond the largest float: infinite from half a float step above it on, as IEEE rounding gives.
  if (std::fabs(value) > static_cast<double>(FLT_MAX)) {
    double halfway = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    float big = std::fabs(value) >= halfway ? HUGE_VALF : FLT_MAX;
    return value < 0 ? -big : big;
  }
  return static_cast<float>(value);
}

int32_t FloatToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace orvelt
