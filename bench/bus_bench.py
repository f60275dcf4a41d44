#!/usr/bin/python3
"""Benchmark of `dks-reconciler serve`: bus round trips and the cost of exported objects.

    /usr/bin/python3 bench/bus_bench.py [--reconciler build/dks-reconciler] [--objects N]

Starts a private session bus and a server on an empty Maildir and hive in a temporary folder,
then, as one client (python3-dbus), measures:

- property reads, one round trip each (`bus_calls`);
- N e-mail records queued on an include folder's move action, then handed out in one NewEnum:
  the time to export them and the server's resident memory per exported object
  (`export_email`);
- the same for N item records, which also present the e-mail and mail item interfaces
  (`export_item`);
- property reads again, now that 2N objects are exported (`bus_calls_with_exports`).

Memory is the server's VmRSS before and after the hand-out, divided by N.
"""
import argparse
import os
import shutil
import subprocess
import tempfile
import time

import dbus

NAME = "org.dksreconciler.Server"
PREFIX = "org.dksreconciler."
PROPS = dbus.PROPERTIES_IFACE


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--reconciler", default="build/dks-reconciler")
    parser.add_argument("--objects", type=int, default=2000)
    args = parser.parse_args()
    n = args.objects

    root = tempfile.mkdtemp(prefix="dksr-bus-bench-")
    for folder in ("Maildir/cur", "Maildir/new", "Maildir/tmp"):
        os.makedirs(os.path.join(root, folder))
    env = dict(os.environ, HOME=root, MAILDIR=os.path.join(root, "Maildir"),
               DKSR_HIVE=os.path.join(root, "registry.db"), DKSR_HOME=root)
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              text=True)
    server = None
    try:
        env["DBUS_SESSION_BUS_ADDRESS"] = daemon.stdout.readline().strip()
        server = subprocess.Popen([os.path.abspath(args.reconciler), "serve"], env=env)
        bus = dbus.bus.BusConnection(env["DBUS_SESSION_BUS_ADDRESS"])
        deadline = time.monotonic() + 30
        while not bus.name_has_owner(NAME):
            if time.monotonic() > deadline or server.poll() is not None:
                raise SystemExit("dks-reconciler serve did not take " + NAME)
            time.sleep(0.02)

        def obj(path):
            return bus.get_object(NAME, path, introspect=False)

        def get(path, cls, prop):
            return obj(path).Get(PREFIX + cls, prop, dbus_interface=PROPS)

        def call(path, cls, method, signature="", *arguments):
            return obj(path).get_dbus_method(method, PREFIX + cls)(*arguments, signature=signature)

        reconciler = call("/org/dksreconciler", "Server", "CreateReconciler")
        includes = get(reconciler, "clsReconciler", "Include")
        call(includes, "colInclude", "Add", "sbisss", "Inbox", False, -1, "", "", "")
        include = call(includes, "colInclude", "Item", "v", dbus.Int32(1))

        start = time.perf_counter()
        for _ in range(n):
            get(include, "clsInclude", "MaxMatches")
        seconds = time.perf_counter() - start
        print("bus_calls: calls=%d seconds=%.3f calls_per_second=%.0f" % (n, seconds, n / seconds))

        measures = (("export_email", get(get(include, "clsInclude", "Move"), "clsMove", "Emails"),
                     "colEmail"),
                    ("export_item", get(include, "clsInclude", "MailItems"), "colItem"))
        for label, collection, cls in measures:
            for k in range(n):
                call(collection, cls, "Add", "ss", "LOCATION%d" % k, "")
            before = resident_kb(server.pid)
            start = time.perf_counter()
            paths = call(collection, cls, "NewEnum")
            seconds = time.perf_counter() - start
            grown = resident_kb(server.pid) - before
            print("%s: objects=%d seconds=%.3f bytes_per_object=%.0f" % (
                label, len(paths), seconds, grown * 1024.0 / len(paths)))

        start = time.perf_counter()
        for _ in range(n):
            get(include, "clsInclude", "MaxMatches")
        seconds = time.perf_counter() - start
        print("bus_calls_with_exports: calls=%d exported=%d seconds=%.3f calls_per_second=%.0f"
              % (n, 2 * n, seconds, n / seconds))

        call(reconciler, "clsReconciler", "ShutDown")
        call(reconciler, "Lifetime", "Release")
        status = server.wait(timeout=30)
        bus.close()
        if status != 0:
            raise SystemExit("dks-reconciler serve ended with status %d" % status)
    finally:
        if server is not None and server.poll() is None:
            server.kill()
        daemon.kill()
        daemon.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
