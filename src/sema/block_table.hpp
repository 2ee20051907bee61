#pragma once

#include <array>
#include <string_view>

#include "sema/block_schema.hpp"
#include "sema/names_of.hpp"
#include "sema/property_table.hpp"

namespace ovm::sema {

// The 31 block kinds. The order matters: headers are matched and suggested in this order.
inline constexpr auto block_table = std::to_array<BlockSpec>({
    {.name = "TITLE", .content_line = true,
     .description = "Human readable model title. One content line, no statements."},
    {.name = "META",
     .description = "Descriptive metadata. No effect on execution, recommended for reproducibility.",
     .properties = property_lists::meta_properties},
    {.name = "DATABASE",
     .description = "OVDB files loaded before resolution, in order. Later entries override earlier ones.",
     .properties = property_lists::database_properties},
    {.name = "UNITS", .description = "Default units applied where a statement omits one.",
     .properties = property_lists::units_properties},
    {.name = "PARAMETERS", .expressions_only = true,
     .description = "Global scalars and expressions. Every statement is an expression statement."},
    {.name = "SPECIES", .description = "Chemical species not supplied by OVDB.",
     .properties = property_lists::species_properties},
    {.name = "ISOTOPES",
     .description = "Isotope systems the model tracks. Compositions belong to RESERVOIR, not here.",
     .properties = property_lists::isotopes_properties},
    {.name = "RESERVOIR", .takes_identifier = true, .declares = "Reservoir", .repeatable = true,
     .species_lines = true, .delta_lines = true, .local_parameters = true,
     .description = "Physical compartment. Species concentrations and isotopic compositions.",
     .properties = property_lists::reservoir_properties},
    {.name = "PROCESS", .takes_identifier = true, .declares = "Process", .discriminator = "type",
     .repeatable = true, .local_parameters = true,
     .description = "Central object. `type` discriminates which properties are required.",
     .properties = property_lists::process_properties},
    {.name = "FRACTIONATION", .takes_identifier = true, .names = "Process", .repeatable = true,
     .description = "Fractionation attached to a process. The identifier always names a Process.",
     .properties = property_lists::fractionation_properties},
    {.name = "KINETICS", .takes_identifier = true, .names = "Process", .discriminator = "rate",
     .repeatable = true,
     .description = "Rate law attached to a process. Its presence is what makes the process kinetic.",
     .properties = property_lists::kinetics_properties},
    {.name = "MODEL", .takes_identifier = true, .declares = "Model",
     .description = "Simulation boundaries, process ordering and stopping condition.",
     .properties = property_lists::model_properties},
    {.name = "OUTPUT", .description = "State variables recorded during the run.",
     .properties = property_lists::output_properties},
    {.name = "EXPORT", .repeatable = true, .description = "Result serialisation. May repeat, once per output format.",
     .properties = property_lists::export_properties},
    {.name = "STANDARD", .description = "Reference standards overriding OVDB for this model.",
     .properties = property_lists::standard_properties},
    {.name = "CONDITIONS", .species_lines = true, .local_parameters = true,
     .description = "Model wide temperature, pressure and pH.",
     .properties = property_lists::conditions_properties},
    {.name = "LAW", .profile = Profile::Extended, .takes_identifier = true, .declares = "Law", .repeatable = true,
     .law_body = true,
     .description = "Reusable fractionation or rate law, referenced by name from several processes."},
    {.name = "PHREEQC", .profile = Profile::Extended, .takes_identifier = true, .declares = "Backend",
     .repeatable = true,
     .description = "PHREEQC interoperation. The referenced file stays valid standalone PHREEQC input.",
     .properties = property_lists::phreeqc_properties},
    {.name = "RAYLEIGH", .profile = Profile::Extended, .takes_identifier = true, .repeatable = true,
     .expands_to = "PROCESS", .description = "Shorthand for open system Rayleigh distillation.",
     .properties = property_lists::rayleigh_properties},
    {.name = "ADSORPTION", .profile = Profile::Extended, .takes_identifier = true, .repeatable = true,
     .expands_to = "PROCESS", .description = "Shorthand for PROCESS with type adsorption plus its FRACTIONATION.",
     .properties = property_lists::adsorption_properties},
    {.name = "EXCHANGE", .profile = Profile::Extended, .takes_identifier = true, .repeatable = true,
     .expands_to = "PROCESS", .description = "Shorthand for PROCESS with type exchange plus its FRACTIONATION.",
     .properties = property_lists::exchange_properties},
    {.name = "SAMPLE", .profile = Profile::Identification, .takes_identifier = true, .declares = "Sample",
     .repeatable = true, .delta_lines = true,
     .description = "A measured composition, taken as the source or the product of an identification.",
     .properties = property_lists::sample_properties},
    {.name = "IDENTIFY", .profile = Profile::Identification, .takes_identifier = true,
     .declares = "Identification", .repeatable = true,
     .description = "Searches for the process or chain of processes that explains the gap between two samples.",
     .properties = property_lists::identify_properties},
    // The reserved kinds: resolved like any other, their statements not specified yet.
    {.name = "SOLUTION", .profile = Profile::Extended, .takes_identifier = true, .repeatable = true,
     .implemented = false},
    {.name = "INITIAL", .profile = Profile::Extended, .implemented = false},
    {.name = "DATASET", .profile = Profile::Extended, .takes_identifier = true, .declares = "Dataset",
     .repeatable = true, .implemented = false},
    {.name = "FIT", .profile = Profile::Extended, .implemented = false},
    {.name = "MONTE_CARLO", .profile = Profile::Extended, .implemented = false},
    {.name = "SENSITIVITY", .profile = Profile::Extended, .implemented = false},
    {.name = "PLOT", .profile = Profile::Extended, .repeatable = true, .implemented = false},
    {.name = "REPORT", .profile = Profile::Extended, .implemented = false},
});

// The 31 keywords in table order: the candidates offered for a header that names no kind.
inline constexpr auto block_keywords = names_of(block_table);

// The kind whose keyword equals `word` under ASCII case folding (`meta` opens META), or null.
const BlockSpec* find_block_spec(std::string_view word);

// The first property of `kind`, in table order, whose key equals `key` under ASCII case
// folding, or null.
const PropertySpec* find_property_spec(const BlockSpec& kind, std::string_view key);

// The first property of `kind` whose two-word label equals `key`, one space and `first_word`
// under ASCII case folding (law file, input file), or null.
const PropertySpec* find_property_by_label(const BlockSpec& kind, std::string_view key, std::string_view first_word);

}  // namespace ovm::sema
