#!/bin/sh
# The README's first section names every package that ./run.sh and ./test.sh
# install (BUILD_PACKAGES of scripts/packages.sh), so that a newcomer reads
# what will be installed before it is.
#   readme_packages.sh SOURCE_DIR
set -eu
source_dir=$1
# The first section only: from the top to the second "## " heading.
first=$(awk '/^## / { n++ } n < 2 { print }' "$source_dir/README.md")
packages=$(sed -n '/^BUILD_PACKAGES=(/,/)/p' "$source_dir/scripts/packages.sh" |
    sed 's/BUILD_PACKAGES=(//; s/)//')
status=0
for p in $packages; do
    if ! printf '%s\n' "$first" | grep -qw -- "$p"; then
        echo "README.md's first section does not name the package $p"
        status=1
    fi
done
[ $status -eq 0 ] && echo "README.md names every package of BUILD_PACKAGES"
exit $status
