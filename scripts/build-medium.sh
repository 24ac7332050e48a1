#!/usr/bin/env bash
# Builds the installation medium into out/medium: every deliverable for both
# word sizes, with the documents and files the medium carries, the driver
# package's catalog lx220.cat and, given a code-signing certificate, the
# signatures of the catalog and of every PE file.
#
# Signing (all or nothing; README "Signing the driver package"):
#   LX_SIGN_PKCS12=<file.p12>      certificate and key
#   LX_SIGN_PASSWORD_FILE=<file>   the PKCS#12 password (first line); optional
#   LX_SIGN_TIMESTAMP_URL=<url>    RFC 3161 time-stamp server; optional
# The same as arguments: --pkcs12 FILE --password-file FILE --timestamp URL.
set -euo pipefail
cd "$(dirname "$0")/.."

pkcs12=${LX_SIGN_PKCS12:-}
password_file=${LX_SIGN_PASSWORD_FILE:-}
timestamp=${LX_SIGN_TIMESTAMP_URL:-}
while [ $# -gt 0 ]; do
  case "$1" in
    --pkcs12) pkcs12=${2:?--pkcs12 needs a file}; shift 2 ;;
    --password-file) password_file=${2:?--password-file needs a file}; shift 2 ;;
    --timestamp) timestamp=${2:?--timestamp needs a URL}; shift 2 ;;
    *) echo "usage: $0 [--pkcs12 FILE [--password-file FILE] [--timestamp URL]]" >&2; exit 2 ;;
  esac
done
if [ -n "$pkcs12" ]; then
  [ -r "$pkcs12" ] || { echo "signing: cannot read the PKCS#12 file $pkcs12" >&2; exit 1; }
  [ -z "$password_file" ] || [ -r "$password_file" ] || { echo "signing: cannot read the password file $password_file" >&2; exit 1; }
elif [ -n "$password_file$timestamp" ]; then
  echo "signing: a password file or time-stamp server was named, but no PKCS#12 file" >&2; exit 2
fi

scripts/install-deps.sh build
scripts/build.sh win64 win32

# Laid out beside out/medium and moved there only whole, checked and (when
# asked) signed: a failure leaves no medium rather than half of one.
medium=out/medium
work=out/medium.partial
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
for p in win64 win32; do
  cmake --install "build/$p" --prefix "$work" >/dev/null
done

LX_SIGN_PKCS12=$pkcs12 LX_SIGN_PASSWORD_FILE=$password_file LX_SIGN_TIMESTAMP_URL=$timestamp \
  tools/catalog/seal_medium.sh "$work"
rm -rf "$medium"
mv "$work" "$medium"
trap - EXIT
echo "medium: $(pwd)/$medium"
find "$medium" -type f | sort
