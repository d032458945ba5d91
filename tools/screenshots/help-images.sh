#!/bin/sh
# Makes the pictures of the help pages (help/images/) from the program's windows, over a demo
# database made for the purpose:
#   tools/screenshots/help-images.sh BUILD_DIR
# Needs tavimor-db and tavimor-shots built in BUILD_DIR, and ImageMagick's convert.
set -eu
build=$(cd "$1" && pwd)
images=$(cd "$(dirname "$0")/../../help" && pwd)/images
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/tavimor-db" init --database "$work/j.db" --admin-password admin >/dev/null
"$build/bin/tavimor-db" demo --database "$work/j.db" --students 300 --teachers 80 --records 300 --seed 3 >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/tavimor-shots" --database "$work/j.db" --password admin \
    --out "$work/shots" >/dev/null 2>&1

# picture SHOT NAME [convert options]: at most 660 pixels wide (the page pane of the help viewer at
# its first size), 256 colours, no metadata.
picture() {
    shot=$1 name=$2
    shift 2
    convert "$work/shots/$shot.png" "$@" -resize '660x>' +dither -colors 256 -strip \
        -define png:exclude-chunks=date,time -define png:compression-level=9 \
        -define png:compression-filter=5 "$images/$name.png"
}

mkdir -p "$images"
picture login_filled login
picture main_start main
picture main_students students
picture editstu_change editstu
picture edittea_view edittea-view
picture edittea_family edittea-family
# The editor's field panel only: the pop-up and the fields it fills.
picture editstu_selecttime selecttime -crop 660x426+0+0 +repage
picture selectcourse selectcourse
picture selectduixiang selectduixiang
ls -l "$images"
