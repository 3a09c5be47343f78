#!/usr/bin/env bash
# Proves the release command (scripts/package.sh); scripts/test.sh runs it.
#
# Same bytes: copies this checkout's files into two folders of different names
# and depths, one with blanks, and makes the release in each from scratch, in
# two time zones (and, when run as root, the second as another user). The two
# programs and both packages must be byte for byte the same, and no object or
# release file may hold the folder it was built in.
#
# Signing, in the second folder with a throwaway self-signed certificate: a
# wrong password or an unreadable certificate stops the release and leaves no
# packages; a signed release shows its password nowhere, even traced; every
# signed file verifies, and so does the uninstaller the installer writes under
# Wine; a program with its signature removed is the unsigned one but for the PE
# checksum; the package tests (ctest -R ^package) pass on the signed packages.
set -euo pipefail
cd "$(dirname "$0")/.."

step() { echo "==> release check: $*"; }
fail() { echo "release check FAILED: $*" >&2; exit 1; }
began=$SECONDS

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
unset MOSAIKA_SIGN_PKCS12 MOSAIKA_SIGN_PASSWORD MOSAIKA_SIGN_TIMESTAMP_URL
root=$(mktemp -d -t mosaika-release-check.XXXXXX)
chmod 755 "$root"
# Kept when the check fails, to look into.
trap 'status=$?; [ $status -eq 0 ] && rm -rf "$root" || echo "release check: its folders are kept in $root" >&2' EXIT
first="$root/モザイカ図"
second="$root/another copy/of the sources/mosaika b"

# The tracked files (and new ones not yet committed) as they are in this checkout.
copy_sources() {
  mkdir -p "$1"
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read --no-same-owner -cf - | tar -xf - -C "$1"
}

# package.sh in FOLDER with its output in FOLDER.log, as the command runs it.
release() {
  local folder=$1; shift
  (cd "$folder" && "$@") </dev/null >"$folder.log" 2>&1
}

step "release in $first (TZ=UTC)"
copy_sources "$first"
TZ=UTC release "$first" scripts/package.sh || { tail -n 30 "$first.log"; fail "the release failed in $first"; }

step "release in $second (TZ=Pacific/Kiritimati, UTC+14)"
copy_sources "$second"
as_other_user=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  # Another user, with a home of its own.
  chown -R nobody:nogroup "$root/another copy"
  mkdir -p "$root/home"
  chown nobody:nogroup "$root/home"
  as_other_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$root/home" USER=nobody)
  echo "    as the user nobody"
fi
TZ=Pacific/Kiritimati release "$second" "${as_other_user[@]}" scripts/package.sh ||
  { tail -n 30 "$second.log"; fail "the release failed in $second"; }

step "the two releases compared byte for byte"
release_files=(bin/モザイカ図.scr bin/モザイカ図.dll)
for package in "$first"/build/windows/packages/*.exe "$first"/build/windows/packages/*.zip; do
  release_files+=("packages/${package##*/}")
done
for file in "${release_files[@]}"; do
  a="$first/build/windows/$file" b="$second/build/windows/$file"
  [ -f "$b" ] || fail "the second release has no $file"
  printf '    %s  %s\n' "$(sha256sum <"$a" | cut -d' ' -f1)" "$file"
  cmp -s "$a" "$b" || { cmp -l "$a" "$b" | head -n 5; fail "$file differs between the two folders"; }
done
for folder in "$first" "$second"; do
  leaks=$(cd "$folder/build/windows" && find . -name '*.obj' -o -name '*.res' -o -name '*.a' -o -path './bin/*' -o -path './packages/*' |
    xargs -r -d '\n' grep -laF "$root" || true)
  [ -z "$leaks" ] || fail "the build folder is written into: $leaks"
done
echo "    the same bytes; no build folder in any object or release file ($((SECONDS - began)) s so far)"

# The signing checks, in the second folder on its objects.
signing_began=$SECONDS
keys="$root/keys"
mkdir -m 700 "$keys"
password="throwaway $RANDOM$RANDOM"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -utf8 -subj "/CN=モザイカ図 test signer" \
  -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
  -keyout "$keys/key.pem" -out "$keys/certificate.pem" 2>/dev/null
MOSAIKA_SIGN_PASSWORD=$password openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/certificate.pem" \
  -passout env:MOSAIKA_SIGN_PASSWORD -out "$keys/signer.p12"
unsigned="$root/unsigned"
mkdir "$unsigned"
cp "$first"/build/windows/bin/モザイカ図.* "$unsigned/"

# signed_release PKCS12 PASSWORD TIMESTAMP_URL COMMAND...: the command in the
# second folder (as root: signing is not about users) with the certificate in
# its environment, as a release manager would give it (not on a command line).
signed_release() (
  export MOSAIKA_SIGN_PKCS12=$1 MOSAIKA_SIGN_PASSWORD=$2 MOSAIKA_SIGN_TIMESTAMP_URL=$3
  shift 3
  TZ=UTC release "$second" "$@"
)
# Whether the password shows in the release's output or in the installer's build log.
expect_no_password() {
  ! grep -rqF "$1" "$second.log" "$second"/build/windows/_CPack_Packages/*/NSIS/*.log 2>/dev/null ||
    fail "$2: the password is in the output"
}

step "a certificate that cannot be used stops the release, with nothing signed"
packages="$second/build/windows/packages"
while IFS='|' read -r what pkcs12 given timestamp expected; do
  if signed_release "$pkcs12" "$given" "$timestamp" scripts/package.sh; then
    fail "the release went on with $what"
  fi
  grep -q "$expected" "$second.log" || { cat "$second.log"; fail "with $what, no message \"$expected\""; }
  [ ! -e "$packages" ] || fail "with $what, packages were left in $packages"
  for program in "$unsigned"/*; do
    cmp -s "$program" "$second/build/windows/bin/${program##*/}" || fail "with $what, ${program##*/} was changed"
  done
  expect_no_password "$given" "with $what"
  echo "    $what: stopped (\"$(grep -m 1 "$expected" "$second.log")\")"
done <<CASES
a wrong password|$keys/signer.p12|not $password||a wrong password
no certificate file|$keys/missing.p12|$password||cannot read the certificate file
not a certificate|$keys/key.pem|$password||not a PKCS#12 file
a time-stamp server that does not answer|$keys/signer.p12|$password|http://127.0.0.1:9/|nothing was signed
CASES

step "a signed release, traced (bash -x)"
signed_release "$keys/signer.p12" "$password" "" bash -x scripts/package.sh ||
  { tail -n 30 "$second.log"; fail "the signed release failed"; }
expect_no_password "$password" "signed"
grep "^==> signing as" "$second.log" | sed 's/^/    /'
signed="$root/signed"
mkdir "$signed"
(cd "$signed" && unzip -q "$packages"/*.zip)
grep -q "モザイカ図 test signer" "$signed/README.txt" "$signed/お読みください.txt" || fail "the read-mes do not name the signer"
cp "$packages"/*.exe "$signed/"

# Whether FILE verifies against the throwaway certificate.
verify() {
  osslsigncode verify -CAfile "$keys/certificate.pem" -in "$1" >"$root/verify.log" 2>&1 ||
    { cat "$root/verify.log"; fail "${1##*/} does not verify"; }
  echo "    verified: ${1##*/}"
}
for file in "$signed"/*.exe "$signed"/*.scr "$signed"/*.dll; do verify "$file"; done

# A signed program without its signature: the unsigned one, but for the PE
# checksum (4 bytes at 88 past the PE header), which signing fills in.
for program in モザイカ図.scr モザイカ図.dll; do
  stripped="$root/stripped $program"
  osslsigncode remove-signature -in "$signed/$program" -out "$stripped" >/dev/null
  checksum=$(( $(od -An -tu4 -j60 -N4 "$unsigned/$program") + 88 ))
  cmp -s <(head -c "$checksum" "$stripped") <(head -c "$checksum" "$unsigned/$program") &&
    cmp -s <(tail -c +$((checksum + 5)) "$stripped") <(tail -c +$((checksum + 5)) "$unsigned/$program") ||
    fail "$program without its signature is not the unsigned program"
  echo "    $program without its signature: the unsigned program but for the PE checksum"
done

step "the package tests on the signed packages (ctest -R ^package)"
export MOSAIKA_SIGN_PKCS12="$keys/signer.p12" MOSAIKA_SIGN_PASSWORD="$password"
(cd "$second" && cmake --build --preset windows --target package_test &&
  ctest --preset windows -R '^package') >"$root/package-tests.log" 2>&1 ||
  { tail -n 40 "$root/package-tests.log"; fail "the package tests failed on the signed packages"; }
grep -E "tests passed|tests failed" "$root/package-tests.log" | sed 's/^/    /'

step "the signed installer, run silently under Wine, writes an uninstaller that verifies"
world="$second/build/windows/wine-world-package"
cmake/wine-run.sh "$world" "$packages"/*.exe /S '/D=C:\署名の確認\モザイカ図' >"$root/install.log" 2>&1 ||
  { cat "$root/install.log"; fail "the signed installer failed"; }
verify "$world/prefix/drive_c/署名の確認/モザイカ図/Uninstall.exe"

echo "    signing checked in $((SECONDS - signing_began)) s; the whole release check took $((SECONDS - began)) s"
