// Declarations, assignments and the label lookup: the statements that add records to a running
// script, change them, and find where a "goto" leads.
#pragma once
#include <optional>

#include "runtime/text.h"
#include "zunt/script.h"

namespace orvelt::zunt {

// An "int" (typ 1), "float" (2) or "string" (3) statement, also in its "dim" form.
void DeclareFromLine(TScript& script, const Text& line, int typ);
// The name that such a statement gives its variable or array, and which of the two it makes.
struct Declaration {
  Text name;
  bool array = false;
};
Declaration DeclarationName(const Text& line, int typ);
// An assignment; true when a record was assigned or an index message was printed.
bool AssignFromLine(TScript& script, const Text& line);
// The line of the last label named exactly target, if any.
std::optional<int32_t> FindLabelLine(const TScript& script, const Text& target);

// Does the line start with the name, letter case ignored?
bool StartsWithName(const Text& line, const Text& name);

}  // namespace orvelt::zunt
