#!/usr/bin/env bash
# Makes the Windows icon (.ico: 16 to 256 pixels) from the program's SVG icon, the one the Linux desktop
# entry shows and programIcon() draws.
#   make-icon.sh app/photocheck.svg OUT.ico
set -euo pipefail
svg=$1 ico=$2
sizes=(16 20 24 32 40 48 64 256)
pngs=()
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in "${sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$work/$size.png"
  pngs+=("$work/$size.png")
done
convert "${pngs[@]}" "$ico"
