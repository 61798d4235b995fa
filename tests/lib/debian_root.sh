# A fresh Debian of a given release in a folder: made with debootstrap from
# the mirror this machine's apt uses, with that release's updates and
# security suites, its kernel file systems mounted while it is in use.
# Sourced by tests/deb/chroot.sh and scripts/test-fresh; needs root.

DEBIAN_RELEASES="bookworm trixie"

# known_release NAME: whether NAME is a release these scripts can make.
known_release() { case " $DEBIAN_RELEASES " in *" $1 "*) return 0 ;; esac; return 1; }

# The release this machine runs (its codename), bookworm when unknown.
host_release() { (. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-bookworm}") || echo bookworm; }

# host_mirror SUFFIX: the archive this machine's apt reads whose address
# ends in /SUFFIX (debian, debian-security), deb822 or one-line sources.
host_mirror() {
    sed -n "s|^URIs: *\([^ ]*/$1\)/*\$|\1|p; s|^deb \(\[[^]]*\] \)\?\([^ ]*/$1\)/* .*|\2|p" \
        /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | head -n 1
}
DEBIAN_MIRROR=${DEBIAN_MIRROR:-$(host_mirror debian)}
DEBIAN_MIRROR=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
SECURITY_MIRROR=${SECURITY_MIRROR:-$(host_mirror debian-security)}
SECURITY_MIRROR=${SECURITY_MIRROR:-http://deb.debian.org/debian-security}

# make_root RELEASE DIR LOG: a minimal RELEASE in DIR (which must not
# exist), its apt reading RELEASE, RELEASE-updates and RELEASE-security.
make_root() {
    local release=$1 dir=$2 log=$3
    debootstrap --variant=minbase "$release" "$dir" "$DEBIAN_MIRROR" >"$log" 2>&1 || return 1
    rm -f "$dir/etc/apt/sources.list"
    cat >"$dir/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $DEBIAN_MIRROR
Suites: $release $release-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: $SECURITY_MIRROR
Suites: $release-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    # The root's own tests start its own X servers and browsers: they want
    # the machine's devices and a shared-memory folder of their own.
    mount_root "$dir" && in_root_of "$dir" apt-get update -q >>"$log" 2>&1
}

# mount_root DIR: /proc, /sys, /dev (with /dev/pts) and a /dev/shm of its own.
mount_root() {
    mount -t proc proc "$1/proc" &&
        mount -t sysfs sysfs "$1/sys" &&
        mount --rbind /dev "$1/dev" && mount --make-rslave "$1/dev" &&
        mount -t tmpfs -o mode=1777 shm "$1/dev/shm"
}

# mounted_under DIR: whether anything is mounted at or below DIR.
mounted_under() { awk -v d="$1" '$5 == d || index($5, d "/") == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo; }

# unmount_root DIR: everything mounted below DIR, innermost first.
unmount_root() {
    local m
    for m in $(awk -v d="$1" 'index($5, d "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r); do
        umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null
    done
    ! mounted_under "$1"
}

# remove_root DIR: unmounts and deletes it; never deletes a tree that still
# has something of this machine mounted in it.
remove_root() {
    [ -d "$1" ] || return 0
    if unmount_root "$1"; then
        rm -rf "$1"
    else
        echo "  .. $1 is still mounted; left in place" >&2
        return 1
    fi
}

# in_root_of DIR COMMAND...: COMMAND in the root, with a clean environment.
in_root_of() {
    local dir=$1
    shift
    chroot "$dir" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"
}

# offline_in_root_of DIR COMMAND...: the same without a network: a network
# namespace of its own with only a loopback, so nothing can be downloaded
# and its X servers and ports never meet this machine's.
offline_in_root_of() {
    local dir=$1
    shift
    unshare --net sh -c 'ip link set lo up && exec "$@"' _ \
        chroot "$dir" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"
}
