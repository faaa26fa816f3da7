#!/usr/bin/env bash
# Runs the side-file checks with a folder holding a symbolic link made by the
# system itself (Wine cannot make one), named as a side file: a file of a side
# file's size lies at the other end.
# Usage: links.sh WORKDIR command args...
set -u
work=$1; shift
rm -rf "$work"
mkdir -p "$work/dossier" "$work/ailleurs"
head -c 8192 /dev/zero > "$work/ailleurs/cible.osc"
# CReplacementFile::SideFileName(0x3456); the test checks the two agree.
r=$((0x3456))
name=$(printf '~ond%04x%04x.tmp' $r $(( ((r * 40503) ^ 0x4F4E) & 0xFFFF )))
ln -s "$work/ailleurs/cible.osc" "$work/dossier/$name"
export ONDAV_LINK_NAME=$name ONDAV_LINK_DIR="Z:${work//\//\\}\\dossier" ONDAV_LINK_TARGET="Z:${work//\//\\}\\ailleurs\\cible.osc"
"$@"
