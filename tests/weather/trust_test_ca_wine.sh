#!/usr/bin/env bash
# Puts the test certificate authority of make_test_certificates.sh into the current user's root
# store of a Wine prefix (its registry: SystemCertificates\Root\Certificates\<SHA-1>, a "Blob" of
# the certificate property: id 32, 1, length, DER), so that a program run there trusts the HTTPS
# stand-in; "remove" takes it out again. For manual runs in a prefix of one's own: the test
# programs add and remove it themselves through the certificate store functions.
#   trust_test_ca_wine.sh add|remove CA.der      (WINEPREFIX as for wine)
set -eu
action=$1 der=$2
thumb=$(openssl x509 -inform der -in "$der" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
key='HKEY_CURRENT_USER\Software\Microsoft\SystemCertificates\Root\Certificates\'"$thumb"
reg=$(mktemp --suffix=.reg)
if [ "$action" = add ]; then
  blob=$(python3 -c "
import struct, sys
d = open(sys.argv[1], 'rb').read()
b = struct.pack('<III', 32, 1, len(d)) + d
print(','.join('%02x' % x for x in b))" "$der")
  printf 'REGEDIT4\r\n\r\n[%s]\r\n"Blob"=hex:%s\r\n' "$key" "$blob" >"$reg"
else
  printf 'REGEDIT4\r\n\r\n[-%s]\r\n' "$key" >"$reg"
fi
wine regedit /s "$(winepath -w "$reg")" >/dev/null 2>&1
rm -f "$reg"
echo "$action: $thumb"
