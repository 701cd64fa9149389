#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root as dpkg lays it
# out, and runs the installed console program from there the way a person
# would: from a directory they cannot write, so that its settings must go to
# their own configuration directory.
#
# Usage: installed_package_test.sh BUILD_DIR VERSION APP_ID WITH_GUI(0|1) CPACK
set -euo pipefail
build=$1 version=$2 id=$3 gui=$4 cpack=$5

scratch=$(mktemp -d "${TMPDIR:-/tmp}/twinfold-package.XXXXXX")
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --- The package ------------------------------------------------------------
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    fail "cpack could not build the package"
fi
debs=("$scratch"/pkg/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Read from the programs themselves, not written by hand.
needed=(libc6 libstdc++6)
[ "$gui" = 1 ] && needed+=(libqt6core6 libqt6widgets6 libqt6svg6 qt6-qpa-plugins)
for package in "${needed[@]}"; do
    [[ ",$depends," == *[\ ,]"$package"[\ ,\(]* ]] || fail "Depends lacks $package"
done

expected=(usr/bin/twinfold-batch usr/share/man/man1/twinfold-batch.1.gz)
if [ "$gui" = 1 ]; then
    expected+=(usr/bin/twinfold usr/share/man/man1/twinfold.1.gz
        "usr/share/applications/$id.desktop" "usr/share/mime/packages/$id.xml"
        "usr/share/metainfo/$id.metainfo.xml" "usr/share/icons/hicolor/scalable/apps/$id.svg")
    for size in 16 32 48 64 128 256; do
        expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
    done
fi
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's#^\./##' >"$scratch/contents"
for file in "${expected[@]}"; do
    grep -qx "$file" "$scratch/contents" || fail "the package lacks $file"
done
# Build helpers and test programs stay out.
programs=$(grep '^usr/bin/.' "$scratch/contents" | sort | tr '\n' ' ')
want="usr/bin/twinfold-batch "
[ "$gui" = 1 ] && want="usr/bin/twinfold usr/bin/twinfold-batch "
[ "$programs" = "$want" ] || fail "programs in the package: $programs"

root=$scratch/root
dpkg -x "$deb" "$root"
share=$root/usr/share

# --- The desktop's files, as installed --------------------------------------
png_size() { # width and height from the PNG header
    od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}
if [ "$gui" = 1 ]; then
    for size in 16 32 48 64 128 256; do
        png="$share/icons/hicolor/${size}x${size}/apps/$id.png"
        [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
    done
    # The MIME database compiles our type and maps batch files to it.
    XDG_DATA_DIRS="$share" update-mime-database "$share/mime" || fail "update-mime-database rejects the batch type"
    grep -q "^[0-9]*:application/x-twinfold-batch:\*\.tfw$" "$share/mime/globs2" ||
        fail "*.tfw is not mapped to application/x-twinfold-batch"
    appstreamcli validate-tree --no-net "$root" || fail "the installed metadata does not validate"
    mime=$(sed -n 's/^MimeType=//p' "$share/applications/$id.desktop")
    [ "$mime" = "application/x-twinfold-batch;" ] || fail "the desktop entry opens $mime"
    # The window program answers without a display, and after Qt took its
    # own options; an unknown option is refused.
    twinfold=$root/usr/bin/twinfold
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$twinfold" --version)
    [ "$out" = "twinfold $version" ] || fail "twinfold --version printed: $out"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$twinfold" -platform offscreen --version 2>/dev/null)
    [ "$out" = "twinfold $version" ] || fail "twinfold -platform offscreen --version printed: $out"
    [[ $("$twinfold" --help) == "Usage: twinfold "* ]] || fail "twinfold --help prints no usage"
    status=0
    QT_QPA_PLATFORM=offscreen "$twinfold" --bogus >/dev/null 2>"$scratch/err.txt" || status=$?
    [ "$status" -eq 2 ] && grep -q "unknown option --bogus" "$scratch/err.txt" ||
        fail "twinfold --bogus ended with $status: $(cat "$scratch/err.txt")"
fi

bin=$root/usr/bin
out=$("$bin/twinfold-batch" --version)
[ "$out" = "twinfold-batch $version" ] || fail "twinfold-batch --version printed: $out"

# --- A small real batch, run as an installed program runs --------------------
home=$scratch/home
mkdir -p "$home/photos/2024" "$home/backup" "$home/config"
printf 'first' >"$home/photos/a.jpg"
printf 'second' >"$home/photos/2024/b.jpg"
printf '[Settings]\nSourceDir=%s\nDestDir=%s\nSyncAll=1\n' "$home/photos" "$home/backup" \
    >"$home/photos.ini"
printf '[Files]\nFile0=%s\n' "$home/photos.ini" >"$home/nightly.tfw"

# dpkg leaves /usr/bin writable for its owner; an installed program's
# directory is not writable for the person who runs it.
chmod a-w "$bin"
run_as_person=()
if [ "$(id -u)" -eq 0 ]; then
    # Root writes into any directory whatever its mode bits say: the run goes
    # as the unprivileged user "nobody", who owns only the scratch home.
    chmod 755 "$scratch"
    chown -R 65534:65534 "$home"
    run_as_person=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
as_person() {
    (cd "$home" && "${run_as_person[@]}" env HOME="$home" XDG_CONFIG_HOME="$home/config" "$@")
}
as_person test -x "$bin/twinfold-batch" ||
    fail "the scratch root $scratch cannot be reached; set TMPDIR to a directory anyone may enter"
# Without this the checks below would prove nothing.
if as_person test -w "$bin"; then
    fail "the scratch root's bin directory is writable for the test's user"
fi

status=0
as_person "$bin/twinfold-batch" --yes --log-dir "$home/logs" "$home/nightly.tfw" \
    >"$scratch/out.txt" 2>"$scratch/err.txt" || status=$?
cat "$scratch/out.txt" "$scratch/err.txt"
[ "$status" -eq 0 ] || fail "twinfold-batch ended with $status"
[ "$(cat "$scratch/out.txt")" = "Twinfold for Windows: Batch Process Sync Successful!" ] ||
    fail "unexpected messages"
cmp -s "$home/photos/a.jpg" "$home/backup/a.jpg" || fail "a.jpg was not copied"
cmp -s "$home/photos/2024/b.jpg" "$home/backup/2024/b.jpg" || fail "2024/b.jpg was not copied"
[ "$(grep -c . "$home/logs/TFSuccess.txt")" -eq 2 ] || fail "the log does not list two copies"

# The settings went to the person's configuration directory, nowhere else.
[ -f "$home/config/twinfold/tfoldw.ini" ] || fail "no settings in \$XDG_CONFIG_HOME/twinfold/"
grep -q "^SourceDir=" "$home/config/twinfold/tfoldw.ini" || fail "the settings file is empty"
[ ! -e "$bin/tfoldw.ini" ] || fail "settings were written beside the program"
echo "PASS: package $(basename "$deb") installs and runs"
