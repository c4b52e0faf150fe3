#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Makes build/vantoke-<version>.tar.gz, the source of a commit (HEAD unless one is given) under
# vantoke-<version>/, the version being that commit's project() version. The same commit gives the
# same bytes: git archive stamps every file with the commit's time, the umask and line endings are
# fixed here rather than taken from git's settings, and gzip -n leaves out a name and a time.
# Only committed files go in; the work tree's changes do not.
set -euo pipefail
[ $# -le 1 ] || { echo "usage: make-source-tarball.sh [COMMIT]" >&2; exit 2; }
cd "$(dirname "$0")/.."

commit=$(git rev-parse --quiet --verify "${1:-HEAD}^{commit}") \
    || { echo "make-source-tarball.sh: no commit ${1:-HEAD}" >&2; exit 1; }
version=$(git show "$commit:CMakeLists.txt" | sed -n 's/^project(vantoke VERSION \([0-9.]*\).*/\1/p')
[ -n "$version" ] || { echo "make-source-tarball.sh: no project() version in $commit's CMakeLists.txt" >&2; exit 1; }
if [ -z "${1:-}" ] && ! git diff --quiet HEAD; then
    echo "make-source-tarball.sh: the work tree has changes that are not committed; they stay out" >&2
fi

name=vantoke-$version
mkdir -p build
git -c tar.umask=0022 -c core.autocrlf=false archive --format=tar --prefix="$name/" "$commit" \
    | gzip -9 -n >"build/$name.tar.gz.part"
mv "build/$name.tar.gz.part" "build/$name.tar.gz"
echo "Source tarball: build/$name.tar.gz ($(git log -1 --format='%h, %cs' "$commit"))"
