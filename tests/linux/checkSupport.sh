# Shared by the Linux check scripts, sourced after setting `check_area` (the
# name each PASS or FAIL line starts with): the result lines, and the checks
# of what a plug-in's shared object exports and links.
status=0

# result NAME STATUS MESSAGE...
result() {
  local name=$1 code=$2
  shift 2
  if [ "$code" -eq 0 ]; then
    echo "PASS $check_area: $name"
  else
    echo "FAIL $check_area: $name: $*"
    status=1
  fi
}

# exports_and_links FILE EXPORT...: exactly those dynamic exports, and only
# system libraries needed (the C++ runtime is linked in).
exports_and_links() {
  local file=$1
  shift
  local exports wanted needed
  exports=$(objdump -T "$file" | awk '$2 == "g" && $4 != "*UND*" { print $NF }' | sort | tr '\n' ' ')
  wanted=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  needed=$(readelf -d "$file" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' | tr '\n' ' ')
  echo "$(basename "$file"): exports [$exports], needs [$needed]"
  [ "$exports" = "$wanted" ] || return 1
  for library in $needed; do
    case $library in
      libc.so.* | libm.so.* | ld-linux-x86-64.so.* | libX11.so.* | libcairo.so.*) ;;
      *) return 1 ;;
    esac
  done
}
