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
