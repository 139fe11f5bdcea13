# Installs the Debian packages Quiravel needs, only when some are missing.
# Usage: quiravel_install_deps [extra packages...]
quiravel_install_deps() {
  local wanted=(cmake make g++ libgtest-dev libgmock-dev qt6-base-dev qt6-translations-l10n
                libmariadb-dev mariadb-server locales fonts-liberation "$@")
  local missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
  fi
}

# Makes the Brazilian locale available so the suite can also run under it.
quiravel_ensure_pt_br_locale() {
  locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$' && return 0
  [ "$(id -u)" -eq 0 ] || return 0
  if ! grep -q '^pt_BR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'pt_BR.UTF-8 UTF-8' >> /etc/locale.gen
  fi
  locale-gen >/dev/null 2>&1 || true
}
