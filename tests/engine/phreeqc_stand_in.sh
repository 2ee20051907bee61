#!/bin/sh
# Stands in for PHREEQC in the tests: it takes the input, output and database files as PHREEQC
# does, refuses a missing database the way PHREEQC reports it, and then runs the input file as
# a shell script in its working directory, so each test's input says what this run writes,
# prints and how it ends. Only shell built-ins are used, so it also runs with an empty PATH.
if [ "$#" -ne 3 ]; then
  echo "usage: phreeqc input output database" >&2
  exit 64
fi
if [ ! -f "$3" ]; then
  echo "ERROR: Could not open database file $3" > "$2"
  exit 1
fi
. "$1"
