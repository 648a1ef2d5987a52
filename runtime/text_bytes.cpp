// Texts to and from bytes: UTF-8 decoding of source files and arguments, UTF-8 encoding for the
// console and for file names, and the one-unit-per-byte forms.
#include <cstdint>
#include <optional>

#include "runtime/text.h"

namespace orvelt {

namespace {

struct Utf8Step {
  uint32_t code;
  std::size_t length;
};

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// One well-formed UTF-8 sequence at i: no overlong forms, no surrogates, nothing above U+10FFFF.
std::optional<Utf8Step> DecodeSequence(std::string_view bytes, std::size_t i) {
  static constexpr struct { unsigned char mask, lead; std::size_t length; uint32_t minimum; } kForms[] = {
      {0x80, 0x00, 1, 0x0}, {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
  unsigned char lead = static_cast<unsigned char>(bytes[i]);
  for (const auto& form : kForms) {
    if ((lead & form.mask) != form.lead) continue;
    if (i + form.length > bytes.size()) return std::nullopt;
    uint32_t code = lead & static_cast<unsigned char>(~form.mask & 0x7F);
    for (std::size_t k = 1; k < form.length; ++k) {
      unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if (!IsContinuation(next)) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < form.minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return std::nullopt;
    return Utf8Step{code, form.length};
  }
  return std::nullopt;
}

void AppendCodePoint(Text* text, uint32_t code) {
  if (code < 0x10000) {
    text->push_back(static_cast<char16_t>(code));
    return;
  }
  code -= 0x10000;
  text->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
  text->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

// The decoded text when the bytes are valid UTF-8 with at least one multi-byte sequence.
std::optional<Text> DecodeUtf8(std::string_view bytes) {
  Text text;
  bool multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    std::optional<Utf8Step> step = DecodeSequence(bytes, i);
    if (!step) return std::nullopt;
    multiByte = multiByte || step->length > 1;
    AppendCodePoint(&text, step->code);
    i += step->length;
  }
  if (!multiByte) return std::nullopt;
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  return text;
}

void AppendUnitUtf8(std::string* out, uint32_t c) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

Text DecodeBytes(std::string_view bytes) {
  if (std::optional<Text> decoded = DecodeUtf8(bytes)) return *decoded;
  return TextFromLatin1(bytes);
}

std::string EncodeUtf8Units(const Text& s) {
  std::string out;
  out.reserve(s.size());
  for (char16_t c : s) AppendUnitUtf8(&out, c);
  return out;
}

std::string EncodeUtf8(const Text& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
      uint32_t code = 0x10000 + ((uint32_t{s[i]} - 0xD800) << 10) + (uint32_t{s[i + 1]} - 0xDC00);
      AppendUnitUtf8(&out, code);
      ++i;
    } else {
      AppendUnitUtf8(&out, s[i]);
    }
  }
  return out;
}

std::string NarrowBytes(const Text& s) {
  std::string out(s.size(), '\0');
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = static_cast<char>(s[i] & 0xFF);
  return out;
}

Text TextFromLatin1(std::string_view bytes) {
  Text text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    text[i] = static_cast<unsigned char>(bytes[i]);
  return text;
}

}  // namespace orvelt
