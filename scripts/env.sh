# Shared environment of the set-up, run and test commands (sourced, not run).
QUILL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUILL_CACHE="${QUILL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillora}"
export WINEPREFIX="${QUILL_WINEPREFIX:-$QUILL_CACHE/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: neither can be fetched here.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Runs a Wine command with the Chinese locale, so that GetACP() is 936. The locale is
# set only for the child: no Unix locale needs to exist for Wine to take it.
wine_zh() {
  env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
}

# Runs "$@" with sudo unless we are root already.
as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Refreshes the package lists. A mirror in the middle of a sync serves lists whose size does not
# match its index, and apt-get update then fails although the other lists came: tried three
# times, a little apart. The addresses whose lists did not come are kept for apt_install.
QUILL_APT_FAILED="${TMPDIR:-/tmp}/quill-apt-failed.$$"
apt_update() {
  local try log
  log="$(mktemp)"
  for try in 1 2 3; do
    if as_root apt-get -o DPkg::Lock::Timeout=900 update -qq 2>"$log"; then
      rm -f "$log" "$QUILL_APT_FAILED"
      return 0
    fi
    cat "$log" >&2
    echo "setup: the package lists did not all come (try $try of 3)" >&2
    [ "$try" -lt 3 ] && sleep $((try * 10))
  done
  sed -n 's|.*Failed to fetch \([a-z]*://[^ ]*\)/dists/.*|\1|p' "$log" | sort -u >"$QUILL_APT_FAILED"
  rm -f "$log"
  return 0
}

# Installs Debian packages. When it fails after an update that left some lists out, the
# sources those lists belong to are left out and it is tried again: a suite whose lists of one
# architecture are missing asks for versions the other architecture's packages cannot match
# (wine32:i386 beside the amd64 libraries), while the suites that came agree with each other.
apt_install() {
  local apt=(apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends)
  as_root env DEBIAN_FRONTEND=noninteractive "${apt[@]}" "$@" && return 0
  [ -s "$QUILL_APT_FAILED" ] || return 1
  local parts
  parts="$(mktemp -d)"
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # One stanza a paragraph; those naming an address that failed are dropped.
    awk -v failed="$(tr '\n' ' ' <"$QUILL_APT_FAILED")" 'BEGIN { RS = ""; ORS = "\n\n"; n = split(failed, f, " ") }
      { for (i = 1; i <= n; i++) if (index($0 "\n", f[i] "\n") || index($0, f[i] " ")) next; print }' \
      "$file" >"$parts/$(basename "$file")"
  done
  for file in /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && grep -vF -f "$QUILL_APT_FAILED" "$file" >"$parts/$(basename "$file")"
  done
  echo "setup: installing again without $(tr '\n' ' ' <"$QUILL_APT_FAILED")" >&2
  local status=0
  as_root env DEBIAN_FRONTEND=noninteractive "${apt[@]}" -o Dir::Etc::SourceParts="$parts" "$@" || status=1
  rm -rf "$parts"
  return $status
}
