#!/bin/sh
# compare.sh NEW REFERENCE COUNT FOLDER: both programs' fields for the same COUNT files must
# match, and the files must give fields at all.
set -eu
new=$1 reference=$2 count=$3 folder=$4
seed=${TUNELORE_TAG_FIELDS_SEED:-1}
"$new" "$count" "$seed" "$folder" >"$folder/fields.new"
"$reference" "$count" "$seed" "$folder" >"$folder/fields.reference"
if ! cmp -s "$folder/fields.new" "$folder/fields.reference"; then
  echo "fields differ (seed $seed); first differences, new then reference:"
  diff "$folder/fields.new" "$folder/fields.reference" | head -n 20
  exit 1
fi
titled=$(awk -F '\t' '$2 != ""' "$folder/fields.new" | wc -l)
echo "$count files, $titled with a title: the same fields from both"
[ "$titled" -gt 0 ]
