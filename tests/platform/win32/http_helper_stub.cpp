// The fetching helper of the HTTP tests: makes the one request it is given, as "tavrino.exe -fetch" does.
#include "platform/http_client.h"

int wmain() { return RunHttpHelper(); }
