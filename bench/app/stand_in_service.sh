# The local stand-in for the outside services, for the scripts of this folder. Source it with ROOT
# set; stand_in_service_start DIR starts it on a free port (its port file in DIR), sets service_pid
# and service_url, and fails when it did not come up within 30 s (its first start makes a certificate, slow on a busy machine). The caller ends it (kill "$service_pid").
stand_in_service_start() {
  local dir=$1
  python3 "$ROOT/tools/devservice/devservice.py" --port 0 --port-file "$dir/port" >/dev/null 2>&1 </dev/null &
  service_pid=$!
  for _ in $(seq 300); do [ -s "$dir/port" ] && break; sleep 0.1; done
  [ -s "$dir/port" ] || { echo "the stand-in service did not start"; return 1; }
  service_url="http://127.0.0.1:$(cat "$dir/port")"
}
# stand_in_service_scratch: a scratch folder ($work) with the service started in it; at the script's
# exit the service ends and the folder goes. The script ends when the service does not start.
stand_in_service_scratch() {
  work=$(mktemp -d)
  service_pid=""
  trap stand_in_service_cleanup EXIT
  stand_in_service_start "$work" || exit 1
}
stand_in_service_cleanup() {
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null
  rm -rf "$work"
}
