# The local demo database of scripts/run and scripts/screenshots.
readonly quiravel_demo=build/demo
readonly quiravel_demo_mark='; Written by scripts/run for the demo database in build/demo.'

# True when SETTINGS is missing or is the one written for the demo (a settings file of the
# operator's own is never touched).
quiravel_settings_are_demo() {
  [ ! -f "$1" ] || grep -qxF "$quiravel_demo_mark" "$1"
}

# Starts the demo MariaDB (or finds it running, or starts it again with its data), copies the
# sample discount file beside it and writes SETTINGS to point at it. Needs the built
# quiravel-embaralha in APP.
quiravel_demo_up() {
  local settings=$1 app=$2 demo=$quiravel_demo
  if [ -f "$demo/server.env" ] && [ -d "$demo/data" ]; then
    scripts/mariadb-local status "$demo" || scripts/mariadb-local restart "$demo"
  else
    scripts/mariadb-local start "$demo" quiravel_demo tests/support/schema.sql scripts/demo/demo-data.sql
  fi
  cp scripts/demo/descontos-exemplo.csv "$demo/"
  env_of() { sed -n "s/^$1=//p" "$demo/server.env"; }
  {
    echo "$quiravel_demo_mark"
    echo '[ip]'
    echo "local=$(env_of host)"
    echo "database=$(env_of database)"
    echo "usuario=$(env_of user)"
    echo "Porta=$(env_of port)"
    echo "senha=$("$app/quiravel-embaralha" "$(env_of password)")"
    echo '[FilialMatriz]'
    echo 'CodLogica=1'
  } >"$settings"
}
