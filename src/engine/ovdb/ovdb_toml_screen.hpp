#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace ovm::engine {

// Why a database text is refused before the TOML parser sees it: the parser's own form of
// message, "Error while parsing ...: expected ..., saw '<character>' at line {}, column {}",
// the column counted in characters as the parser counts it.
struct TomlTextError {
  std::string message;
};

// The TOML parser classifies every character outside ASCII that it meets outside a string as
// white space or not with a table that, for some characters, reaches code that must never
// run; so the text is screened first. TOML allows characters outside ASCII only inside strings
// and comments, and anywhere else one is the error; a quote inside a value written without
// quotes (the parser reads such a value up to a blank, a bracket, a comma or a comment before
// it looks at it) opens no string. Inside a multi-line basic string the parser looks for
// white space after each backslash too: a character outside ASCII there that is not valid
// TOML (no line ends between the backslash and it) is the error as well, and one that begins
// the string's next line after a line-ending backslash is valid and handed over as its \u
// escape, which the string reads the same. A byte order mark that opens the text is left to
// the parser. Returns the text to parse or the error.
std::variant<std::string, TomlTextError> screen_toml_text(std::string_view text);

}  // namespace ovm::engine
