#!/usr/bin/env bash
# Starts or stops the local service stand-in for the weather end-to-end tests of one build tree.
#   devservice_fixture.sh start DIR   listens on a free loopback port, written to DIR/wx_devservice.port
#   devservice_fixture.sh stop DIR    stops the service started for DIR
#   a third argument "wine": the Wine prefix of the tests (tools/wine-env.sh) trusts the test
#   certificate authority while the service runs (Wine's WinHTTP reads the trusted roots when a
#   program starts, so a test program cannot add it for itself)
# A second instance serves HTTPS (port in DIR/wx_devservice_tls.port) with the test certificates
# of make_test_certificates.sh, made in DIR/wx_tls.
set -u
action=$1 dir=$2 wine=${3:-}
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
port_file="$dir/wx_devservice.port" pid_file="$dir/wx_devservice.pid"
tls_port_file="$dir/wx_devservice_tls.port" tls_pid_file="$dir/wx_devservice_tls.pid"

stop_one() {
  if [ -f "$2" ]; then
    pid=$(cat "$2")
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$1" "$2"
}
stop() {
  if [ "$wine" = wine ] && [ -s "$dir/wx_tls/ca.der" ]; then
    (source "$root/tools/wine-env.sh"; bash "$root/tests/weather/trust_test_ca_wine.sh" remove "$dir/wx_tls/ca.der")
  fi
  stop_one "$port_file" "$pid_file"
  stop_one "$tls_port_file" "$tls_pid_file"
}

case $action in
  start)
    stop
    mkdir -p "$dir"
    nohup python3 "$root/tools/devservice/devservice.py" --port 0 --port-file "$port_file" \
      --timeout-seconds 8 >"$dir/wx_devservice.log" 2>&1 </dev/null &
    echo $! >"$pid_file"
    bash "$root/tests/weather/make_test_certificates.sh" "$dir/wx_tls"
    if [ "$wine" = wine ]; then
      (source "$root/tools/wine-env.sh"; bash "$root/tests/weather/trust_test_ca_wine.sh" add "$dir/wx_tls/ca.der")
    fi
    nohup python3 "$root/tools/devservice/devservice.py" --port 0 --port-file "$tls_port_file" \
      --timeout-seconds 8 --tls-cert "$dir/wx_tls/server.pem" --tls-key "$dir/wx_tls/server.key" \
      >"$dir/wx_devservice_tls.log" 2>&1 </dev/null &
    echo $! >"$tls_pid_file"
    for _ in $(seq 100); do
      if [ -s "$port_file" ] && [ -s "$tls_port_file" ]; then
        echo "devservice on port $(cat "$port_file"), HTTPS on $(cat "$tls_port_file")"; exit 0
      fi
      sleep 0.1
    done
    echo "devservice did not start:"; cat "$dir/wx_devservice.log" "$dir/wx_devservice_tls.log"; stop; exit 1 ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR"; exit 2 ;;
esac
