#!/usr/bin/env bash
# Installs pelko and zunt into a temporary prefix, or builds their Debian package, and checks the
# result as a user and the desktop would see it. Usage:
#   install_test.sh CHECK BUILD_DIR SOURCE_DIR VERSION
# CHECK: files-and-programs | desktop-data | file-types | debian-package
set -euo pipefail
check=$1 build=$2 source=$3 version=$4
expected_files=$source/tests/install/installed-files.txt

scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvelt-install-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# Compares two texts and shows the difference when they differ.
same() {  # what, expected, actual
  [ "$2" == "$3" ] || { diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") >&2 || true; fail "$1"; }
}

install_into() {
  cmake --install "$build" --prefix "$1" >/dev/null
}

files_below() {
  (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

listed_files() {
  grep -v '^#' "$expected_files" | LC_ALL=C sort
}

# PNG width and height from the IHDR chunk.
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ' | sed 's/^ //')
  set -- $bytes
  echo "$(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))x$(($5 * 16777216 + $6 * 65536 + $7 * 256 + $8))"
}

# Runs an installed program from the work folder with no display; standard input is a pipe that
# never ends, so a program that waits for input is stopped by the time limit and fails the check.
run_installed() {  # prefix, program, arguments...
  local prefix=$1 program=$2
  shift 2
  (cd "$scratch/work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 "$prefix/bin/$program" "$@" <&3)
}

# The work folder and the program folder both hold a hello.pel: a plain relative name finds the
# one beside the program first, "./" only the one in the folder the program was started from.
check_program_runs() {  # prefix
  local prefix=$1 out
  out=$(run_installed "$prefix" pelko ./hello.pel) || fail "pelko ./hello.pel from another folder"
  same "pelko ./hello.pel" "Hallo aus dem Startordner"$'\r' "$out"
  out=$(run_installed "$prefix" pelko hello.pel) || fail "pelko hello.pel from another folder"
  same "pelko hello.pel" "Hallo aus dem Programmordner"$'\r' "$out"
  out=$(run_installed "$prefix" pelko ../work/hello.pel) || fail "pelko ../work/hello.pel from another folder"
  same "pelko ../work/hello.pel" "Hallo aus dem Startordner"$'\r' "$out"
  out=$(run_installed "$prefix" zunt ./hello.cf) || fail "zunt ./hello.cf from another folder"
  same "zunt ./hello.cf" "Beginne Ausfuehrung des Scriptes <./hello.cf>"$'\r\n'"Script erfolgreich ausgefuehrt!"$'\r' "$out"
}

check_flags() {  # prefix
  local prefix=$1 program out
  for program in pelko zunt; do
    out=$(run_installed "$prefix" "$program" --version) || fail "$program --version"
    same "$program --version" "$program $version" "$out"
    for flag in --help -h; do
      out=$(run_installed "$prefix" "$program" "$flag") || fail "$program $flag"
      [[ $out == "Aufruf: $program "* && $out == *"man $program" ]] || fail "$program $flag: $out"
    done
  done
}

files_and_programs() {
  local prefix=$scratch/prefix
  install_into "$prefix"
  same "installed files" "$(listed_files)" "$(files_below "$prefix")"
  for program in pelko zunt; do
    same "$program 48 px icon" 48x48 "$(png_size "$prefix/share/icons/hicolor/48x48/apps/org.orvelt.$program.png")"
    same "$program 128 px icon" 128x128 "$(png_size "$prefix/share/icons/hicolor/128x128/apps/org.orvelt.$program.png")"
    local page
    page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/$program.1.gz" 2>&1)
    [[ $page == *"$program $version"* && $page == *EXIT-STATUS* ]] || fail "$program man page: $page"
  done
  # Nothing installed refers to the build or source folder, so the tree works wherever it is moved.
  ! grep -rIl -e "$build" -e "$source" "$prefix" || fail "installed text files name the build or source folder"

  mkdir "$scratch/work"
  printf '.text\nmov cmd, "Hallo aus dem Startordner"\nint print\n' >"$scratch/work/hello.pel"
  printf '.text\nmov cmd, "Hallo aus dem Programmordner"\nint print\n' >"$prefix/bin/hello.pel"
  printf 'print "x",1,1\n' >"$scratch/work/hello.cf"
  mkfifo "$scratch/input"
  exec 3<>"$scratch/input"
  check_program_runs "$prefix"
  check_flags "$prefix"
  mv "$prefix" "$scratch/moved"
  check_program_runs "$scratch/moved"
}

desktop_data() {
  local prefix=$scratch/prefix
  install_into "$prefix"
  desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop-file-validate"
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
  grep -qx 'Exec=zunt %f' "$prefix/share/applications/org.orvelt.zunt.desktop" || fail "zunt's entry starts zunt %f"
  grep -qx 'Terminal=true' "$prefix/share/applications/org.orvelt.pelko.desktop" || fail "pelko's entry runs in a terminal"
}

# The file types, built into a MIME database of their own and looked up as a desktop would.
file_types() {
  local prefix=$scratch/prefix data=$scratch/xdg
  install_into "$prefix"
  mkdir -p "$data/mime/packages" "$scratch/files"
  cp "$prefix/share/mime/packages/pelko-zunt.xml" "$data/mime/packages/"
  update-mime-database "$data/mime"
  printf '.text\nend\n' >"$scratch/files/x.pel"
  printf 'print "x",1,1\n' >"$scratch/files/x.cf"
  local file type
  for file in x.pel:text/x-pelko x.cf:text/x-zunt; do
    type=$(XDG_DATA_HOME=$data XDG_DATA_DIRS=/usr/share gio info -a standard::content-type "$scratch/files/${file%%:*}" |
      sed -n 's/^ *standard::content-type: //p')
    same "type of ${file%%:*}" "${file#*:}" "$type"
  done
  same "subclasses" $'text/x-pelko text/plain\ntext/x-zunt text/plain' "$(LC_ALL=C sort "$data/mime/subclasses")"
}

debian_package() {
  local out=$scratch/deb
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail "cpack"; }
  local deb=$out/pelko-zunt_${version}_amd64.deb
  [ -f "$deb" ] || fail "no $deb: $(ls "$out")"
  same "package files" "$(listed_files | sed 's|^|/usr/|')" \
    "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | LC_ALL=C sort)"
  same "control files, no maintainer scripts" $'control\nmd5sums' "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort)"
  same "package version" "$version" "$(dpkg-deb -f "$deb" Version)"
  [[ $(dpkg-deb -f "$deb" Depends) == *libc6* ]] || fail "Depends from the binaries: $(dpkg-deb -f "$deb" Depends)"
  same "Recommends" "libsdl2-2.0-0, libgtk-3-0" "$(dpkg-deb -f "$deb" Recommends)"
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/pelko-zunt/changelog.gz | gzip -dc | head -1 |
    grep -q "^pelko-zunt ($version) " || fail "the changelog's last entry is not version $version"
  local status=0
  lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || status=$?
  grep -v 'running with root privileges' "$scratch/lintian.log" || true
  [ "$status" -eq 0 ] || fail "lintian reports errors"
}

case "$check" in
  files-and-programs) files_and_programs ;;
  desktop-data) desktop_data ;;
  file-types) file_types ;;
  debian-package) debian_package ;;
  *) fail "unknown check $check" ;;
esac
echo "passed: $check"
