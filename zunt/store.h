// Declarations, assignments and the label lookup: the statements that add records to a running
// script, change them, and find where a "goto" leads.
#pragma once
#include <optional>

#include "runtime/text.h"
#include "zunt/script.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

// An "int", "float" or "string" statement, also in its "dim" form.
void DeclareFromLine(TScript& script, TextView line, ElementType type);
// The name that such a statement gives its variable or array, and which of the two it makes.
struct Declaration {
  Text name;
  bool array = false;
};
Declaration DeclarationName(TextView line, ElementType type);
// An assignment; true when a record was assigned or an index message was printed.
bool AssignFromLine(TScript& script, TextView line);
// The line of the last label named exactly target, if any.
std::optional<int32_t> FindLabelLine(const TScript& script, TextView target);

// Does the line start with the name, letter case ignored?
bool StartsWithName(TextView line, const Text& name);

// "Auf das Feld ... kann nicht zugegriffen werden!", for an index outside the array; a trace
// writes the lines before it first.
void PrintIndexMessage(const TScript& script, int32_t index, const Text& arrayName);

}  // namespace orvelt::zunt
