#!/bin/sh
# Stands in for PHREEQC 3.8.9 in the tests, behaving as the real program does where the
# backend depends on it:
# - started without arguments (the probe), it asks for an input file name on standard error
#   for ever;
# - it names its files and shows its banner on standard error, and writes an empty
#   phreeqc.log in its working directory;
# - a file it cannot open (input, output or database) makes it print
#   "ERROR: Cannot open file, <name>." and ask for another name, for ever, since standard
#   input gives none;
# - the output file starts with the names of the three files.
# Then it runs the input file as a shell script in its working directory, so each test's input
# says what this run writes, prints and how it ends. The script may call `input_error TEXT`
# for every error PHREEQC would find in its input and `selected_output FILE HEADER...` to
# create a selected output as PHREEQC does once it reads SELECTED_OUTPUT (header cells
# right-aligned in 12 characters, each followed by a tab). After an input error the run ends
# as PHREEQC's does: "ERROR: Calculations terminating due to input errors." and "Stopping."
# on standard error and in the output file, and the number of errors modulo 256 as the exit
# status. Only shell built-ins are used, so it also runs with an empty PATH.

ask_for_ever() {  # kind of file, the name that could not be opened
  while :; do
    [ -n "$2" ] && printf 'ERROR: Cannot open file, %s.\n' "$2" >&2
    printf 'Name of %s file?\n' "$1" >&2
    if [ -n "$2" ]; then printf 'Default: %s\n\n' "$2" >&2; else printf 'No name defined.\n' >&2; fi
  done
}

if [ "$#" -eq 0 ]; then
  ask_for_ever input ""
fi
printf 'Input file: %s\n\nOutput file: %s\n\n' "$1" "$2" >&2
[ -r "$1" ] && [ -f "$1" ] || ask_for_ever input "$1"
: 2>/dev/null > "$2" || ask_for_ever output "$2"
[ -r "$3" ] && [ -f "$3" ] || ask_for_ever database "$3"
printf 'Database file: %s\n\n' "$3" >&2
printf '   Input file: %s\n  Output file: %s\nDatabase file: %s\n\n' "$1" "$2" "$3" > "$2"
: > phreeqc.log
cat >&2 <<'BANNER'
               ____________________________________________
              |                                            |
              |             * PHREEQC_3.8.9 *              |
              |                                            |
              |____________________________________________|


Initializing...
BANNER

input_errors=0
input_error() {
  printf 'ERROR: %s\n' "$1" >&2
  printf 'ERROR: %s\n' "$1" >> "$output_file"
  input_errors=$((input_errors + 1))
}

use_database() {  # a DATABASE keyword at the top of the input: this file is read instead
  printf '   Input file: %s\n  Output file: %s\nDatabase file: %s\n\n' "$input_file" "$output_file" "$1" > "$output_file"
  printf 'WARNING: DATABASE keyword is used; database file on the command line is ignored.\n' >> "$output_file"
}

selected_output() {
  file=$1
  shift
  for cell in "$@"; do printf '%12s\t' "$cell"; done > "$file"
  printf '\n' >> "$file"
}

input_file=$1
output_file=$2
. "$1"

if [ "$input_errors" -gt 0 ]; then
  printf 'ERROR: Calculations terminating due to input errors.\nStopping.\n' >&2
  printf 'ERROR: Calculations terminating due to input errors.\nStopping.\n' >> "$output_file"
  exit $((input_errors % 256))
fi
printf '\nEnd of Run after 0.01 Seconds.\n' >&2
