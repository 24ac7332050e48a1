#!/usr/bin/env bash
# Runs a command as an mDNS client beside a label printer announced by a
# separate responder, on a link of two network namespaces made here and
# removed on exit. Nothing leaves the two namespaces: the only interfaces
# are the veth pair (192.0.2.1 client, 192.0.2.2 printer) and loopback.
# The client namespace has its own D-Bus system bus and avahi-daemon, with a
# private /run. Exit 77 (with the reason) when the machine cannot do this.
set -u
[ $# -ge 1 ] || { echo "usage: $0 command..." >&2; exit 2; }

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "network namespaces need root"
for tool in ip unshare dbus-daemon avahi-daemon; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh)"
done
/usr/bin/python3 -c 'import zeroconf' 2>/dev/null || skip "python3-zeroconf is not installed"
[ -e /usr/lib/x86_64-linux-gnu/libdns_sd.so.1 ] || ldconfig -p | grep -q 'libdns_sd.so.1 ' ||
  skip "libavahi-compat-libdnssd1 is not installed"

tag=$$
client=lxmc$tag printer=lxmp$tag
vc=lxc$tag vp=lxp$tag
work=$(mktemp -d /tmp/lx-mdns.XXXXXX)
announcer=
cleanup() {
  [ -n "$announcer" ] && kill "$announcer" 2>/dev/null
  # Whatever still runs in the namespaces (daemons) ends with them.
  for ns in $client $printer; do
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill "$pid" 2>/dev/null; done
  done
  sleep 0.2
  for ns in $client $printer; do
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
    ip netns del "$ns" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

err=$(ip netns add $client 2>&1) || skip "cannot create a network namespace: $err"
err=$(ip netns add $printer 2>&1) || skip "cannot create a network namespace: $err"
err=$(ip link add $vc netns $client type veth peer name $vp netns $printer 2>&1) ||
  skip "cannot create a veth pair: $err"
ip -n $client addr add 192.0.2.1/24 dev $vc
ip -n $printer addr add 192.0.2.2/24 dev $vp
for ns in $client $printer; do
  dev=$vc; [ $ns = $printer ] && dev=$vp
  ip -n $ns link set lo up
  ip -n $ns link set $dev multicast on up
  ip -n $ns route add 224.0.0.0/4 dev $dev
done

cat > "$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
cat > "$work/avahi.conf" <<CONF
[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=$vc
enable-dbus=yes
ratelimit-interval-usec=1000000
ratelimit-burst=1000
[wide-area]
enable-wide-area=no
[publish]
publish-addresses=no
publish-hinfo=no
publish-workstation=no
publish-domain=no
[reflector]
enable-reflector=no
CONF
cat > "$work/announce.py" <<'PY'
import socket, sys, time
from zeroconf import IPVersion, ServiceInfo, Zeroconf
zc = Zeroconf(interfaces=["192.0.2.2"], ip_version=IPVersion.V4Only)
info = ServiceInfo("_pdl-datastream._tcp.local.", "LX-220 Label Printer._pdl-datastream._tcp.local.",
                   addresses=[socket.inet_aton("192.0.2.2")], port=9100,
                   properties={"txtvers": "1", "product": "LX-220"}, server="lx220-peer.local.")
zc.register_service(info)
print("announced", flush=True)
time.sleep(float(sys.argv[1]))  # a bounded life; the test ends it sooner
zc.unregister_service(info)
zc.close()
PY

ip netns exec $printer /usr/bin/python3 "$work/announce.py" 60 > "$work/announce.log" 2>&1 &
announcer=$!
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus_socket" AVAHI_COMPAT_NOWARN=1 LX_PEER_INSIDE=1
# A private /run keeps this avahi-daemon's pid file and socket apart from any other.
ip netns exec $client unshare -m bash -c '
  set -e
  mount -t tmpfs tmpfs /run
  mkdir -p /run/avahi-daemon /run/dbus
  dbus-daemon --config-file="$0/bus.conf" --fork --nopidfile
  for i in $(seq 50); do [ -S "$0/system_bus_socket" ] && break; sleep 0.1; done
  avahi-daemon -f "$0/avahi.conf" --no-chroot --no-drop-root --no-rlimits -D
  for i in $(seq 50); do avahi-daemon -c 2>/dev/null && break; sleep 0.1; done
  "$@"
' "$work" "$@"
status=$?
echo "announcer: $(cat "$work/announce.log" 2>/dev/null | head -3)"
exit $status
