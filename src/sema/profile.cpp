#include "sema/profile.hpp"

namespace ovm::sema {

std::string_view as_str(Profile profile) {
  switch (profile) {
    case Profile::Core: return "Core";
    case Profile::Identification: return "Identification";
    case Profile::Extended: return "Extended";
  }
  return "Core";
}

std::optional<Profile> parse_profile_name(std::string_view name) {
  if (name == "core") return Profile::Core;
  if (name == "identification") return Profile::Identification;
  if (name == "extended") return Profile::Extended;
  return std::nullopt;
}

}  // namespace ovm::sema
