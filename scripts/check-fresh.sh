#!/usr/bin/env bash
# Runs .ci/run from a clean clone of a commit in a bare Debian 12: a minimal
# debootstrap with no locale, no display and none of the project's packages,
# entered with chroot in its own mount and process namespaces. Shows that the
# README's commands install all they need. Needs root and Debian's mirror;
# takes about half an hour on two cores. The log goes to build/fresh/ci.log.
# Usage: scripts/check-fresh.sh [commit, default HEAD]
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
fresh=$src/build/fresh
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")

scripts/deps.sh check

# The downloaded base is kept and copied for each check, so every check
# starts from the same untouched system.
if [ ! -f "$fresh/base/.complete" ]; then
  rm -rf "$fresh/base"
  debootstrap --variant=minbase bookworm "$fresh/base"
  # Debian's image also takes the point releases' updates and security fixes.
  mirror=$(awk '$1 == "deb" { print $2; exit }' "$fresh/base/etc/apt/sources.list")
  echo "deb $mirror bookworm-updates main" >>"$fresh/base/etc/apt/sources.list"
  echo "deb ${mirror%/debian}/debian-security bookworm-security main" >>"$fresh/base/etc/apt/sources.list"
  touch "$fresh/base/.complete"
fi

root=$fresh/root
rm -rf "$root"
cp -a "$fresh/base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q --no-local --no-checkout "$src" "$root/src/wrigglet"
git -C "$root/src/wrigglet" checkout -q --detach "$commit"
echo "== .ci/run of $commit in $root (log: $fresh/ci.log)"

# The mounts live in the new namespace only and go with it.
set +e
unshare --mount --pid --fork --kill-child bash -euc '
  root=$1
  mount --make-rprivate /
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  exec chroot "$root" /usr/bin/env -i HOME=/root CI=true \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /src/wrigglet && exec bash .ci/run </dev/null"
' _ "$root" 2>&1 | tee "$fresh/ci.log"
status=${PIPESTATUS[0]}
set -e
echo "== .ci/run in the bare system exited with $status"
exit "$status"
