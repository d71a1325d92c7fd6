#!/usr/bin/env bash
# Installs the build into a prefix of its own and converts a few seconds with the installed copy
# as an ordinary user would: the program folder read-only, nothing but the disc given. The
# settings, the intermediate file and the output must all land in the user's own folders.
#   install_test.sh BUILD_DIR SAMPLE_DISC
set -euo pipefail
build=$1
disc=$2
# In /tmp, which every user may enter, wherever the checkout or TMPDIR lies.
work=$(mktemp -d /tmp/ripvale-install.XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
home=$work/home
mkdir -p "$home"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
# Every installed path is in the manifest, links included.
manifest=$build/install_manifest.txt
for path in bin/ripvale lib/ripvale/ripvale lib/ripvale/asapi.dll lib/ripvale/wmaspi.dll \
            share/ripvale/help/index.html share/applications/org.kelvo_ripvale.Ripvale.desktop \
            share/metainfo/org.kelvo_ripvale.Ripvale.metainfo.xml share/doc/ripvale/copyright \
            share/man/man1/ripvale.1; do
    grep -qx "$prefix/$path" "$manifest" || fail "$path is not in the install manifest"
    [ -e "$prefix/$path" ] || fail "$path was not installed"
done
[ -L "$prefix/bin/ripvale" ] || fail "the launcher is no link"
installed=$(find "$prefix" \( -type f -o -type l \) | sort)
listed=$(sort "$manifest")
[ "$installed" = "$listed" ] || fail "installed files and the manifest differ"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.kelvo_ripvale.Ripvale.metainfo.xml" \
        >/dev/null || fail "the AppStream metainfo does not validate"
fi

chmod -R a-w "$prefix"
chmod 755 "$work" "$prefix"
# The disc is copied beside it: the build's own copy may lie where only its owner can read.
cp -r "$disc" "$work/disc"
chmod -R a+rX "$work/disc"
disc=$work/disc
as_user=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    # Root writes anywhere: the run goes as an unprivileged user, as a person's would.
    chown nobody "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() {
    env -i HOME="$home" PATH=/usr/bin:/bin "${as_user[@]}" "$prefix/bin/ripvale" "$@"
}

run --convert "$disc" --titles 2 --end 2 --profile 1 >"$work/out.txt" 2>"$work/err.txt" ||
    { cat "$work/err.txt" >&2; fail "the installed copy did not convert"; }
output=$home/Title02.mp4
[ -s "$output" ] || { cat "$work/err.txt" >&2; fail "no output in the user's home folder"; }
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$output")
awk -v d="$duration" 'BEGIN { exit !(d > 1.5 && d < 2.5) }' || fail "the output lasts $duration s"
[ -d "$home/.cache/ripvale" ] || fail "no work folder in the user's cache"
[ -z "$(ls -A "$home/.cache/ripvale")" ] || fail "the intermediate file was left behind"
[ -d "$home/.config/ripvale" ] || fail "no settings folder in the user's config"
grep -qi "encrypted dvd support" "$work/err.txt" && fail "libdvdread's banner was printed"
[ "$(find "$prefix" \( -type f -o -type l \) | sort)" = "$listed" ] ||
    fail "the run wrote into the installation"
echo "1 passed, 0 failed"
