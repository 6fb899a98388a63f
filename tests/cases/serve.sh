# Sourced by a case's cmd: `serve ARGUMENTS...` starts the stand-in quote server on a free loopback
# port with its request log in server.log, waits for the port it prints, and points the settings
# file of the current directory (Quillon.---, its lines 2 and 3) at it. Each server ends with the
# case; one that does not come up ends the case at once.
serve() {
  : >server.port
  "$(dirname "$CLI")"/tools/quote-server/quillon-quote-server --port 0 --log server.log "$@" >server.port 2>server.errors &
  servers="$servers $!"
  trap 'kill $servers' EXIT
  waited=0
  while [ "$(wc -l <server.port)" -eq 0 ] && [ $waited -lt 100 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  port=$(head -n 1 server.port)
  [ -n "$port" ] || { echo "the quote server did not come up" >&2; exit 1; }
  sed -i "2s/.*/\"127.0.0.1\"\r/;3s/.*/$port\r/" Quillon.---
}
