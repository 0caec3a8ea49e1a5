#!/bin/sh
# Prints debian/changelog for the package of VERSION (the About box's version, which the Makefile
# reads from resources/dialogs.def), so that the version is kept in one place. The entry is
# signed by debian/control's maintainer and dated by the last commit (or, outside a clone, by
# the version's file).
#
#   debian_changelog.sh VERSION
set -eu
version=$1
maintainer=$(sed -n 's/^Maintainer: //p' debian/control)
date=$(git log -1 --format=%cD 2>/dev/null || date -R -r resources/dialogs.def)
cat <<END
scan-fs ($version) unstable; urgency=medium

  * scan_fs $version, as its About box names it.

 -- $maintainer  $date
END
