#!/bin/sh
# Stands in for an opener, a browser or a help viewer: appends the words it
# was started with, one a line, and a closing "--" line to $KESTRIN_RECORD.
exec 2>/dev/null
printf '%s\n' "$@" -- >> "$KESTRIN_RECORD"
