#!/bin/sh
# Prints PROGRAM --help, then each of its commands' --help under a heading
# of its own, in the shape help2man turns into a man page: a sub-heading per
# command with its arguments and options. Usage: help-for-man.sh PROGRAM
program=$1
"$program" --help || exit
# The command names: the first word of each indented line in a section
# whose heading names commands ("Subcommands:").
commands=$("$program" --help | awk '
  /^[^ \t].*:[ \t]*$/ { listing = tolower($0) ~ /command/; next }
  /^[ \t]*$/ { listing = 0; next }
  listing && $1 ~ /^[a-z][a-z0-9-]*$/ { print $1 }')
for command in $commands; do
  echo
  "$program" "$command" --help | awk '
    NR == 1 { summary = $0; next }
    /^Usage: / { sub(/^Usage: /, ""); print $0 ":"; print "  " summary; print ""; next }
    /^[^ \t].*:[ \t]*$/ { next }                 # Options:, Positionals:
    /^[ \t]*(-h,)?--help(-all)?[ \t]/ { next }   # said once, above
    /^[ \t]*$/ { next }
    { print }'
done
