#!/usr/bin/env bash
# Test certificates for the stand-in service's HTTPS: a test certificate authority (trusted only
# by the tests that ask for it) and a server certificate it signed for the name "localhost" alone,
# so that https://localhost:PORT passes the checks and https://127.0.0.1:PORT fails on the name.
#   make_test_certificates.sh DIR   writes DIR/ca.pem, DIR/ca.der, DIR/server.pem, DIR/server.key
set -eu
dir=$1
mkdir -p "$dir"
cd "$dir"
[ -s server.pem ] && [ -s ca.der ] && exit 0
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3650 -sha256 \
  -subj "/CN=Tavrino Test CA" -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n' >server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 3650 -sha256 \
  -extfile server.ext 2>/dev/null
openssl x509 -in ca.pem -outform der -out ca.der
rm -f server.csr server.ext ca.srl
