#!/usr/bin/env bash
# Starts or stops the local service stand-in for the weather end-to-end tests of one build tree.
#   devservice_fixture.sh start DIR   listens on a free loopback port, written to DIR/wx_devservice.port
#   devservice_fixture.sh stop DIR    stops the service started for DIR
set -u
action=$1 dir=$2
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
port_file="$dir/wx_devservice.port" pid_file="$dir/wx_devservice.pid"

stop() {
  if [ -f "$pid_file" ]; then
    pid=$(cat "$pid_file")
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$port_file" "$pid_file"
}

case $action in
  start)
    stop
    mkdir -p "$dir"
    nohup python3 "$root/tools/devservice/devservice.py" --port 0 --port-file "$port_file" \
      --timeout-seconds 8 >"$dir/wx_devservice.log" 2>&1 </dev/null &
    echo $! >"$pid_file"
    for _ in $(seq 100); do
      [ -s "$port_file" ] && { echo "devservice on port $(cat "$port_file")"; exit 0; }
      sleep 0.1
    done
    echo "devservice did not start:"; cat "$dir/wx_devservice.log"; stop; exit 1 ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR"; exit 2 ;;
esac
