#!/usr/bin/env bash
# The programs as delivered, made by tools/prepare_program.sh as the delivery target runs it: no
# debug information in them, all of it in the ".debug" file beside; the Windows program signed
# with a throwaway certificate verifies against its CA, and fails to once a byte is changed; the
# password is on no command line; a wrong one fails and keeps the last program; given a time-stamp
# server (a throwaway one on 127.0.0.1), the signature carries its verified RFC 3161 time stamp,
# and a server out of reach fails and keeps the last program; the stripped programs still pack
# (the signed one under Wine).
#   tests/scripts/wine_program_signing_test.sh WINDOWS_BUILD LINUX_BUILD   (in wine_env.sh's prefix)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/checks.sh"
source "$here/wine_env.sh"
windows=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/tlf-sign.XXXXXX)
tsa_pid=""
trap '[ -z "$tsa_pid" ] || kill "$tsa_pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
objcopy_of() { sed -n 's/^CMAKE_OBJCOPY:FILEPATH=//p' "$1/CMakeCache.txt"; }
prepare() { bash "$here/../../tools/prepare_program.sh" "$@" >prepare.log 2>&1 || { cat prepare.log >&2; return 1; }; }
sections() { objdump -h "$1" | awk '{print $2}'; }
# pack_with PROGRAM [EMULATOR]: PROGRAM packs a sample update, whose checksum list then holds.
pack_with() {
  rm -rf pack && mkdir pack && "$linux/make_sample_update" pack >/dev/null && cp "$1" pack/
  (cd pack && env -u DISPLAY timeout 300 ${2:-} "./$(basename "$1")" -pack && sha256sum -c --quiet SHA256SUMS) >pack.log 2>&1
}
export TLF_CODE_SIGNING_PASSWORD='pass word $x'

# A CA, and a code-signing certificate issued by it in a .p12 with that password.
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj /CN=ca \
  -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout leaf.key -out leaf.csr -subj /CN=publisher 2>/dev/null
printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >leaf.ext
openssl x509 -req -in leaf.csr -CA ca.pem -CAkey ca.key -days 2 -extfile leaf.ext -out leaf.pem 2>/dev/null
openssl pkcs12 -export -inkey leaf.key -in leaf.pem -out cert.p12 -passout env:TLF_CODE_SIGNING_PASSWORD
# osslsigncode as found on PATH, writing down its arguments.
mkdir bin
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/arguments"\nexec %s "$@"\n' "$work" "$(command -v osslsigncode)" >bin/osslsigncode
chmod +x bin/osslsigncode
export PATH="$work/bin:$PATH"

exe=program/tlfupdate.exe
check prepare "$windows/tlfupdate.exe" "$exe" "$(objcopy_of "$windows")" "$work/cert.p12"
check osslsigncode verify -CAfile ca.pem -in "$exe" >/dev/null
check grep -q -- '^sign .*-readpass /dev/stdin ' arguments
check test "$(grep -cF "$TLF_CODE_SIGNING_PASSWORD" arguments)" -eq 0
check test "$(sections "$exe" | grep -c '^\.debug_')" -eq 0
check test "$(sections "$exe" | grep -c '^\.gnu_debuglink$')" -eq 1
check test "$(sections "$exe.debug" | grep -c '^\.debug_info$')" -eq 1
# One byte of the code inverted.
cp "$exe" changed.exe
byte=$(od -An -tu1 -j 4096 -N 1 changed.exe)
printf "\\$(printf %o $((255 - byte)))" | dd of=changed.exe bs=1 seek=4096 conv=notrunc 2>/dev/null
check test "$(osslsigncode verify -CAfile ca.pem -in changed.exe >/dev/null 2>&1; echo $?)" -ne 0

# A wrong password, with another program (the shipped one): failure, the last program and its
# symbols as they were, nothing left over.
cp "$exe" last.exe
cp "$exe.debug" last.debug
check test "$(TLF_CODE_SIGNING_PASSWORD=wrong prepare last.exe "$exe" "$(objcopy_of "$windows")" "$work/cert.p12" \
  2>/dev/null; echo $?)" -ne 0
check cmp -s "$exe" last.exe
check cmp -s "$exe.debug" last.debug
check test "$(ls -A program | tr '\n' ' ')" = "tlfupdate.exe tlfupdate.exe.debug "

# A time-stamp authority under the same CA, and its RFC 3161 server on a free port of 127.0.0.1:
# it writes down the type of each query and answers it with `openssl ts -reply`. It also holds a
# second port bound but not listening: a server out of reach.
openssl req -newkey rsa:2048 -nodes -keyout tsa.key -out tsa.csr -subj /CN=tsa 2>/dev/null
printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n' >tsa.ext
openssl x509 -req -in tsa.csr -CA ca.pem -CAkey ca.key -days 2 -extfile tsa.ext -out tsa.pem 2>/dev/null
printf '[tsa]\ndefault_tsa=t\n[t]\nserial=%s/tsa.serial\nsigner_cert=%s/tsa.pem\nsigner_key=%s/tsa.key
certs=%s/ca.pem\nsigner_digest=sha256\ndefault_policy=1.2.3.4\ndigests=sha256\naccuracy=secs:1\n' \
  "$work" "$work" "$work" "$work" >tsa.cnf
python3 - "$work" <<'EOF' 2>tsa.log &
import http.server, os, socket, subprocess, sys
work = sys.argv[1]
class Tsa(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        with open(f"{work}/tsa.queries", "a") as f: print(self.headers["Content-Type"], file=f)
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", f"{work}/tsa.cnf", "-queryfile", "/dev/stdin"],
                               input=self.rfile.read(int(self.headers["Content-Length"])), capture_output=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.end_headers()
        self.wfile.write(reply)
server = http.server.HTTPServer(("127.0.0.1", 0), Tsa)
closed = socket.socket()
closed.bind(("127.0.0.1", 0))
with open(f"{work}/tsa.new", "w") as f: print(server.server_port, closed.getsockname()[1], file=f)
os.rename(f"{work}/tsa.new", f"{work}/tsa.ports")
server.serve_forever()
EOF
tsa_pid=$!
wait_for 30 test -f tsa.ports || { cat tsa.log >&2; echo "the time-stamp server did not start" >&2; exit 1; }
read -r tsa_port closed_port <tsa.ports
check prepare "$windows/tlfupdate.exe" "$exe" "$(objcopy_of "$windows")" "$work/cert.p12" "http://127.0.0.1:$tsa_port/"
check test "$(cat tsa.queries 2>/dev/null)" = application/timestamp-query
check osslsigncode verify -CAfile ca.pem -TSA-CAfile ca.pem -in "$exe" >verify.log
check grep -qx 'Timestamp Server Signature verification: ok' verify.log
# The server out of reach: failure, the time-stamped program and its symbols as they were.
cp "$exe" last.exe
cp "$exe.debug" last.debug
check test "$(prepare last.exe "$exe" "$(objcopy_of "$windows")" "$work/cert.p12" "http://127.0.0.1:$closed_port/" \
  2>/dev/null; echo $?)" -ne 0
check cmp -s "$exe" last.exe
check cmp -s "$exe.debug" last.debug

# The Linux program, unsigned; both pack a sample update, the Windows one under Wine.
check prepare "$linux/tlfupdate" program/tlfupdate "$(objcopy_of "$linux")"
check test "$(sections program/tlfupdate | grep -c '^\.debug_')" -eq 0
check test "$(sections program/tlfupdate.debug | grep -c '^\.debug_info$')" -eq 1
check pack_with "$exe" wine
check pack_with program/tlfupdate
report_checks "programs as delivered"
