#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ovm::sema {

// The conformance level a check claims; every block kind belongs to one.
enum class Profile : std::uint8_t { Core = 0, Identification = 1, Extended = 2 };

// "Core", "Identification", "Extended": the form messages show.
std::string_view as_str(Profile profile);

// Core kinds are admitted under every profile; any other kind only under its own profile, so
// the extended profile does not admit the identification kinds, nor the converse.
constexpr bool admits(Profile selected, Profile kind) { return kind == Profile::Core || kind == selected; }

// The command-line names "core", "identification", "extended", byte for byte.
std::optional<Profile> parse_profile_name(std::string_view name);

}  // namespace ovm::sema
