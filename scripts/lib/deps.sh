# Installs the Debian packages Quiravel needs, only when some are missing.
# Usage: quiravel_install_deps [extra packages...]
# The list names everything the build, the tests, the benchmark and the demo use, so that a
# minimal Debian needs nothing else (pkg-config finds Connector/C; the Qt platform plugins
# open the window, offscreen too; the mariadb client loads the demo and test schemas).
quiravel_install_deps() {
  local wanted=(cmake make g++ pkg-config libgtest-dev libgmock-dev
                qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
                libmariadb-dev mariadb-server mariadb-client
                locales fonts-liberation "$@")
  local missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  quiravel_apt_get update -q
  quiravel_apt_get install -y -q "${missing[@]}"
}

# apt-get as root (through sudo when needed), waiting for the package lock up to ten
# minutes instead of failing when another install holds it.
quiravel_apt_get() {
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 "$@"
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
