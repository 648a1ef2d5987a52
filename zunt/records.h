// The records of a script's store: jump labels, integer, float and string variables, and arrays.
#pragma once
#include <cstdint>

#include "runtime/text.h"
#include "zunt/elements.h"

namespace orvelt::zunt {

struct TGoto {
  Text name;         // computed through Calc2 when the script was loaded
  int32_t line = 0;  // zero-based index of the label's own line
};

struct IVar {
  Text Name;
  int32_t value = 0;
};

struct FVar {
  Text Name;
  float Value = 0.0f;
};

struct SVar {
  Text Name;
  Text value;  // kept with whatever double quotes the setting rules leave in it
};

// What an array's elements are, by the code a declaration gives it: "int", "float" or "string".
enum class ElementType : uint8_t { None = 0, Integer = 1, Float = 2, String = 3 };

struct Array {
  Text name;
  ElementType typ = ElementType::None;
  Elements<int32_t> iarray;  // the elements when typ is Integer
  Elements<float> farray;    // when Float
  Elements<Text> sarray;     // when String
  int32_t amount = 0;  // the declared size as converted; valid indexes are 0 to amount - 1
};

// The name a record goes by, whatever its list.
inline const Text& NameOf(const IVar& v) { return v.Name; }
inline const Text& NameOf(const FVar& v) { return v.Name; }
inline const Text& NameOf(const SVar& v) { return v.Name; }
inline const Text& NameOf(const Array& a) { return a.name; }

}  // namespace orvelt::zunt
