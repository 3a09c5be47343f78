#!/usr/bin/env bash
# Signs Windows programs with an Authenticode signature (SHA-256, osslsigncode)
# made with the release's certificate, named by the environment:
#   MOSAIKA_SIGN_PKCS12         the PKCS#12 file with the certificate and its key
#   MOSAIKA_SIGN_PASSWORD       its password
#   MOSAIKA_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional)
#
#   packaging/sign.sh signer     prints the certificate's subject (its CN), or
#                                fails with a clear message when the file cannot
#                                be read with that password
#   packaging/sign.sh FILE...    signs every FILE in place: all of them or none
#
# The password never reaches a command line: openssl reads it from the
# environment, osslsigncode from a file only this user can read, removed on
# exit. Tracing (set -x) is switched off first, so no trace shows it either.
{ set +x; } 2>/dev/null
set -euo pipefail

fail() { echo "sign: $*" >&2; exit 1; }

[ -n "${MOSAIKA_SIGN_PKCS12:-}" ] || fail "MOSAIKA_SIGN_PKCS12 (the PKCS#12 certificate file) is not set"
[ -n "${MOSAIKA_SIGN_PASSWORD+set}" ] || fail "MOSAIKA_SIGN_PASSWORD (the certificate's password) is not set"
[ -r "$MOSAIKA_SIGN_PKCS12" ] || fail "cannot read the certificate file $MOSAIKA_SIGN_PKCS12"

# The certificate that goes with the key; older PKCS#12 files need OpenSSL's
# legacy ciphers.
certificate() {
  openssl pkcs12 -in "$MOSAIKA_SIGN_PKCS12" -passin env:MOSAIKA_SIGN_PASSWORD -nokeys -clcerts 2>/dev/null ||
    openssl pkcs12 -legacy -in "$MOSAIKA_SIGN_PKCS12" -passin env:MOSAIKA_SIGN_PASSWORD -nokeys -clcerts 2>/dev/null
}

if [ "${1:-}" = signer ]; then
  pem=$(certificate) ||
    fail "cannot open the certificate $MOSAIKA_SIGN_PKCS12 with MOSAIKA_SIGN_PASSWORD: a wrong password, or not a PKCS#12 file"
  subject=$(openssl x509 -noout -subject -nameopt sep_multiline,utf8,-esc_msb <<<"$pem") ||
    fail "$MOSAIKA_SIGN_PKCS12 holds no certificate"
  name=$(sed -n 's/^ *CN=//p' <<<"$subject" | head -n 1)
  [ -n "$name" ] || name=$(sed -n 's/^ *O=//p' <<<"$subject" | head -n 1)
  [ -n "$name" ] || fail "the certificate in $MOSAIKA_SIGN_PKCS12 names no subject (CN or O)"
  printf '%s\n' "$name"
  exit 0
fi

[ $# -gt 0 ] || fail "usage: sign.sh signer | sign.sh FILE..."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# mktemp made the folder for this user alone (mode 700); the file is 600 too.
(umask 077 && printf '%s' "$MOSAIKA_SIGN_PASSWORD" >"$work/password")

timestamp=()
[ -z "${MOSAIKA_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$MOSAIKA_SIGN_TIMESTAMP_URL")

# Every file signed into the work folder first; only when all are signed do
# they replace the unsigned ones.
index=0
for file in "$@"; do
  index=$((index + 1))
  if ! osslsigncode sign -pkcs12 "$MOSAIKA_SIGN_PKCS12" -readpass "$work/password" -h sha256 \
      "${timestamp[@]}" -in "$file" -out "$work/$index" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    fail "signing $file failed: nothing was signed"
  fi
done
index=0
for file in "$@"; do
  index=$((index + 1))
  cat "$work/$index" >"$file"
done
