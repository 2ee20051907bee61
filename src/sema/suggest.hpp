#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ovm::sema {

// The help line for a name the checks cannot find, chosen among the caller's candidates in
// the order offered (the earliest wins a tie): "did you mean `{}`?" with the closest candidate
// as written, when one lies within two edits ignoring case; otherwise "known: {}" with every
// candidate in byte order; "nothing of that kind is declared" when there are none.
std::string unknown_name_help(std::string_view word, std::span<const std::string_view> candidates);

// The "known: {}" form alone, for a help that lists every candidate whatever the word.
std::string known_names_help(std::span<const std::string_view> candidates);

}  // namespace ovm::sema
