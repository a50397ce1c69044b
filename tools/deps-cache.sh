# Sourced by tools/build-id3lib.sh and tools/build-taglib-mingw.sh: the machine-wide cache of
# libraries built from Debian's source packages, shared by every clone, preset and CI run:
#
#   ${TUNELORE_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tunelore-deps}/
#     sources/<package>_<version>/      the fetched source package (.dsc and tarballs)
#     <lib>-<target>-<flavour>/<stamp>/ one build, never changed once there
#     <lib>-<target>-<flavour>.lock     held while that library is built
#
# A build is keyed by a stamp over everything that shapes it (recipe, patches, config, source
# version, compiler, flags): a changed input makes a new folder, so a build folder that links
# an older one keeps working. Builds go to a temporary folder beside their place and are
# renamed into it, so a reader never sees half a library.

deps_cache=${TUNELORE_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tunelore-deps}
mkdir -p "$deps_cache/sources"

# deps_source_version <package>: the version apt-get source would fetch.
deps_source_version() {
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ { print $2 }' | sort -V | tail -n1
}

# deps_unpack <package> <version> <folder>: unpacks the source package, with Debian's
# patches, into <folder>/src, fetching it into the cache first if it is not there.
deps_unpack() {
  local package=$1 version=$2 work=$3 sources="$deps_cache/sources/$1_$2"
  if [ ! -d "$sources" ]; then
    (
      flock 8
      if [ ! -d "$sources" ]; then
        local fetch
        fetch=$(mktemp -d "$deps_cache/sources/.fetch.XXXXXX")
        echo "Fetching $package $version (apt-get source)..." >&2
        # apt's sandbox user must be able to write the files.
        chmod 755 "$fetch"
        if ! (cd "$fetch" && apt-get source -q --download-only "$package=$version") \
            >"$fetch/.log" 2>&1; then
          cat "$fetch/.log" >&2
          rm -rf "$fetch"
          echo "apt-get source $package failed; is a deb-src entry present (tools/install-deps.sh)?" >&2
          exit 1
        fi
        rm -f "$fetch/.log"
        mv -T "$fetch" "$sources"
      fi
    ) 8>"$deps_cache/sources/.lock" || return 1
  fi
  dpkg-source -q --no-check -x "$sources"/*.dsc "$work/src" >"$work/unpack.log" 2>&1 ||
    { cat "$work/unpack.log" >&2; echo "unpacking $package failed" >&2; return 1; }
}

# deps_stamp: a short key over standard input.
deps_stamp() {
  sha256sum | cut -c1-16
}

# deps_build <entry> <stamp> <build-function>: prints the folder of <entry> (lib-target-flavour)
# for <stamp>, calling <build-function> <work> <stage> under the entry's lock when it is not
# built yet; <build-function> fills <stage> with lib/, include/ and share/.
deps_build() {
  local entry=$1 stamp=$2 build=$3 dir="$deps_cache/$1/$2"
  if [ ! -d "$dir" ]; then
    mkdir -p "$deps_cache/$entry"
    (
      flock 9
      [ -d "$dir" ] && exit 0
      local start work
      start=$(date +%s)
      work=$(mktemp -d "$deps_cache/$entry/.build.XXXXXX")
      trap 'rm -rf "$work"' EXIT
      mkdir -p "$work/stage"
      "$build" "$work" "$work/stage" || exit 1
      echo "$stamp" >"$work/stage/.stamp"
      mv -T "$work/stage" "$dir"
      echo "$entry built into $dir in $(( $(date +%s) - start )) s" >&2
    ) 9>"$deps_cache/$entry.lock" || return 1
  else
    echo "$entry is up to date in $dir" >&2
  fi
  echo "$dir"
}
