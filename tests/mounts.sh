#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The file systems that club members keep the entries file on, made for real below ROOT:
#   mounts.sh up ROOT    mounts each it can and prints one line per mount: NAME PATH
#   mounts.sh down ROOT  unmounts them and stops their servers
# fat (fusefat), exfat (exfat-fuse on a loop device), ntfs (ntfs-3g), sshfs (sshd on
# 127.0.0.1 with a server account of its own) and smb (samba on 127.0.0.1:445 through
# smbnetfs). One that cannot be made here (no FUSE, no root, a missing package, a busy
# port) is left out, and the reason goes to standard error.
set -u
export LC_ALL=C.UTF-8
mode=$1 root=$2
share_user=ratinorshare

note() { echo "mounts.sh: $*" >&2; }
have() { command -v "$1" >/dev/null 2>&1 || { note "$2: $1 is missing"; return 1; }; }

up_image() { # NAME MKFS-COMMAND MOUNT-COMMAND...
    local name=$1 make=$2
    shift 2
    mkdir -p "$root/$name"
    truncate -s 40M "$root/$name.img" && $make "$root/$name.img" >/dev/null 2>&1 \
        && "$@" >/dev/null 2>&1 && echo "$name $root/$name" || note "$name: could not be mounted"
}

up_sshfs() {
    have sshfs sshfs && have /usr/sbin/sshd sshfs || return
    id "$share_user" >/dev/null 2>&1 \
        || useradd --system --no-create-home --shell /bin/sh "$share_user" 2>/dev/null \
        || { note "sshfs: no server account"; return; }
    # A locked account ("!") may not log in even with a key where PAM is not used.
    usermod -p '*' "$share_user" 2>/dev/null
    local ssh=$root/ssh port
    mkdir -p "$ssh" "$root/sshdata" "$root/sshfs" /run/sshd
    chmod 755 "$root" "$ssh"
    chown "$share_user" "$root/sshdata"
    ssh-keygen -q -t ed25519 -N '' -f "$ssh/host" && ssh-keygen -q -t ed25519 -N '' -f "$ssh/client"
    cp "$ssh/client.pub" "$ssh/authorized_keys" && chmod 644 "$ssh/authorized_keys"
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    cat > "$ssh/sshd_config" <<CONF
ListenAddress 127.0.0.1:$port
HostKey $ssh/host
AuthorizedKeysFile $ssh/authorized_keys
PasswordAuthentication no
StrictModes no
UsePAM no
PidFile $ssh/sshd.pid
Subsystem sftp internal-sftp
CONF
    /usr/sbin/sshd -f "$ssh/sshd_config" || { note "sshfs: sshd did not start"; return; }
    sshfs -o "IdentityFile=$ssh/client,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null" \
          -o "port=$port,allow_other,LogLevel=ERROR" \
          "$share_user@127.0.0.1:$root/sshdata" "$root/sshfs" \
        && echo "sshfs $root/sshfs" || note "sshfs: could not be mounted"
}

up_smb() {
    have smbd smb && have smbnetfs smb || return
    if python3 -c 'import socket; socket.create_connection(("127.0.0.1", 445), 1)' 2>/dev/null; then
        note "smb: port 445 on 127.0.0.1 is taken"
        return
    fi
    local smb=$root/smb
    mkdir -p "$smb/run" "$smb/home/.smb" "$smb/share" "$root/smbnetfs"
    chmod 777 "$smb/share"
    cat > "$smb/smb.conf" <<CONF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  smb ports = 445
  disable netbios = yes
  map to guest = Bad User
  server min protocol = SMB2
  pid directory = $smb/run
  lock directory = $smb/run
  state directory = $smb/run
  cache directory = $smb/run
  private dir = $smb/run
  log file = $smb/run/log
[club]
  path = $smb/share
  read only = no
  guest ok = yes
  force user = root
CONF
    printf '[global]\n  client min protocol = SMB2\n' > "$smb/home/.smb/smb.conf"
    printf 'auth "guest" ""\nsmb_query_browsers false\n' > "$smb/home/.smb/smbnetfs.conf"
    chmod 600 "$smb/home/.smb/smbnetfs.conf"
    smbd -D -s "$smb/smb.conf" || { note "smb: smbd did not start"; return; }
    for _ in $(seq 50); do
        python3 -c 'import socket; socket.create_connection(("127.0.0.1", 445), 1)' 2>/dev/null && break
        sleep 0.1
    done
    HOME=$smb/home smbnetfs "$root/smbnetfs" -o "config=$smb/home/.smb/smbnetfs.conf,allow_other" \
        && [ -d "$root/smbnetfs/127.0.0.1/club" ] && echo "smb $root/smbnetfs/127.0.0.1/club" \
        || note "smb: could not be mounted"
}

case $mode in
up)
    [ "$(id -u)" -eq 0 ] || { note "not root: no file system can be mounted"; exit 0; }
    [ -c /dev/fuse ] || { note "no /dev/fuse"; exit 0; }
    have fusefat fat && up_image fat "mkfs.vfat -F 32" fusefat -o rw+,allow_other "$root/fat.img" "$root/fat"
    if have mount.exfat-fuse exfat && have mkfs.exfat exfat; then
        # Run as root, exfat-fuse wants a block device.
        truncate -s 40M "$root/exfat.img" && mkfs.exfat "$root/exfat.img" >/dev/null 2>&1 \
            && loop=$(losetup -f --show "$root/exfat.img" 2>/dev/null) && echo "$loop" > "$root/exfat.loop" \
            && up_image exfat true mount.exfat-fuse -o allow_other "$loop" "$root/exfat"
    fi
    have ntfs-3g ntfs && up_image ntfs "mkfs.ntfs -F -Q" ntfs-3g -o allow_other "$root/ntfs.img" "$root/ntfs"
    up_sshfs
    up_smb
    ;;
down)
    for m in fat exfat ntfs sshfs smbnetfs; do
        mountpoint -q "$root/$m" && { fusermount3 -u "$root/$m" 2>/dev/null || umount -l "$root/$m"; }
    done
    [ -f "$root/exfat.loop" ] && losetup -d "$(cat "$root/exfat.loop")" 2>/dev/null
    [ -f "$root/ssh/sshd.pid" ] && kill "$(cat "$root/ssh/sshd.pid")" 2>/dev/null
    for pidfile in "$root"/smb/run/*.pid; do
        [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
    done
    true
    ;;
esac
