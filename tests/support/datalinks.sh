# datalinks.sh, sourced: datalinks BUILD_DIR FOLDER makes FOLDER a data folder
# of links to BUILD_DIR/data with a log folder of its own, so that a run from
# it keeps its log apart and other runs may use the data folder meanwhile.
datalinks() {
  mkdir -p "$2/log" || return 1
  for entry in "$1"/data/*; do [ "${entry##*/}" = log ] || ln -s "$entry" "$2/"; done
}
