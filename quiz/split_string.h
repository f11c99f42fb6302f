#pragma once

#include <string_view>
#include <vector>

// Cuts a line into fields at every byte that occurs in strSeparators and
// appends them to fields, as views into strLine: they are valid as long as
// the line's bytes are. There is no quoting and nothing is trimmed. Empty
// fields between separators count; a last empty field does not, so an empty
// line gives no field and "a," gives just "a".
void SplitString(std::string_view strLine, std::string_view strSeparators,
                 std::vector<std::string_view>& fields);
