#include "quiz/split_string.h"

namespace {

template <class Field>
void SplitInto(std::string_view strLine, std::string_view strSeparators, std::vector<Field>& fields)
{
    size_t nStart = 0;
    for (;;) {
        // One separator, the comma, is the usual case; find scans it fastest.
        const size_t nSeparator = strSeparators.size() == 1
                                      ? strLine.find(strSeparators[0], nStart)
                                      : strLine.find_first_of(strSeparators, nStart);
        if (nSeparator == std::string_view::npos)
            break;
        fields.emplace_back(strLine.data() + nStart, nSeparator - nStart);
        nStart = nSeparator + 1;
    }
    if (nStart < strLine.size())
        fields.emplace_back(strLine.data() + nStart, strLine.size() - nStart);
}

} // namespace

void SplitString(std::string_view strLine, std::string_view strSeparators,
                 std::vector<std::string>& fields)
{
    SplitInto(strLine, strSeparators, fields);
}

void SplitString(std::string_view strLine, std::string_view strSeparators,
                 std::vector<std::string_view>& fields)
{
    SplitInto(strLine, strSeparators, fields);
}
