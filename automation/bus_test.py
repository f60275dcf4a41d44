#!/usr/bin/python3
"""End-to-end test of `dks-reconciler serve`, the automation server on the session bus.

A real D-Bus client (python3-dbus) talks to the server on a private session bus that this
script starts with its own dbus-daemon. Around it stand a reference document server over a
fresh catalogue, a Maildir written by make_maildir and a settings hive pointing at both; a
standalone `dks-reconciler run` first saves every message, so the catalogue holds the
Maildir's documents before any client queues work.

    /usr/bin/python3 automation/bus_test.py --reconciler build/dks-reconciler \
        --refserver build/dks-refserver --make-maildir build/bench/make_maildir [-v]

Arguments after the three paths go to unittest (-v, -k PATTERN, a test name). Everything the
test writes lives in one temporary folder that is removed at the end; a failing test prints
the outputs of the servers, the run log and the error log.
"""
import argparse
import os
import re
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import dbus

BUS_NAME = "org.dksreconciler.Server"
ROOT_PATH = "/org/dksreconciler"
PREFIX = "org.dksreconciler."
FACTORY = PREFIX + "Server"
LIFETIME = PREFIX + "Lifetime"
SHUT_DOWN_ERROR = PREFIX + "Error.ShutDown"
UNKNOWN_OBJECT = "org.freedesktop.DBus.Error.UnknownObject"
PROPERTIES = dbus.PROPERTIES_IFACE

INCLUDE_KEY = "Software\\DKS\\Reconciler\\Include\\Inbox#1"
MESSAGES = 20
MAXIMUM_MATCHES = 500
# How long anything may take on a loaded machine: a process to start or end, a bus call.
DEADLINE = 20.0
CALL_TIMEOUT = 60.0

ARGS = None  # the executables, from the command line
WORK = None  # the temporary folder and what stands in it; see setUpModule


class Work:
    """The temporary folder, the environment of every process and the running helpers."""

    def __init__(self, root):
        self.root = root
        self.maildir = os.path.join(root, "Maildir")
        self.catalogue = os.path.join(root, "catalogue.db")
        self.run_log = os.path.join(root, "run.log")
        self.error_log = os.path.join(root, "error.log")
        self.data_home = os.path.join(root, "data")
        self.service_file = os.path.join(
            self.data_home, "dbus-1", "services", BUS_NAME + ".service")
        self.address = "unix:path=" + os.path.join(root, "bus")
        self.port = None
        self.daemon = None
        self.refserver = None
        self.watch = None  # a bus connection of the test's own, to watch names
        self.servers = []  # every `serve` the test started
        self.outputs = []  # (label, path) of every output file, for the diagnostics
        self.env = self._environment()

    def _environment(self):
        env = {
            key: value for key, value in os.environ.items()
            if not key.startswith(("DBUS_", "XDG_", "DKSR_")) and key != "MAILDIR"
        }
        folders = {"HOME": "home", "XDG_CONFIG_HOME": "config", "XDG_STATE_HOME": "state",
                   "XDG_RUNTIME_DIR": "runtime", "XDG_DATA_HOME": "data", "DKSR_HOME": "program"}
        for key, name in folders.items():
            env[key] = os.path.join(self.root, name)
            os.makedirs(env[key], mode=0o700)
        env["DKSR_HIVE"] = os.path.join(self.root, "hive", "registry.db")
        env["MAILDIR"] = self.maildir
        env["DBUS_SESSION_BUS_ADDRESS"] = self.address
        return env

    def output(self, label):
        """A new output file for a process, listed in the diagnostics."""
        path = os.path.join(self.root, "%02d-%s.out" % (len(self.outputs), label))
        self.outputs.append((label, path))
        return open(path, "wb")


def wait_until(condition, what, deadline=DEADLINE):
    """Polls `condition` until it holds; fails naming `what` after the deadline."""
    end = time.monotonic() + deadline
    while True:
        if condition():
            return
        if time.monotonic() > end:
            raise AssertionError("after %.0f s still waiting for %s" % (deadline, what))
        time.sleep(0.05)


def read_text(path):
    try:
        with open(path, "rb") as stream:
            return stream.read().decode("utf-8", "replace").replace("\r\n", "\n")
    except FileNotFoundError:
        return ""


def run(arguments, check=True, timeout=CALL_TIMEOUT):
    """Runs a command to its end in the test's environment; returns the finished process."""
    done = subprocess.run(arguments, env=WORK.env, cwd=WORK.root, capture_output=True,
                          timeout=timeout)
    if check and done.returncode != 0:
        raise AssertionError("%s ended with status %d\nstdout:\n%s\nstderr:\n%s" % (
            " ".join(arguments), done.returncode, done.stdout.decode(errors="replace"),
            done.stderr.decode(errors="replace")))
    return done


def reconciler(*arguments, **options):
    return run([ARGS.reconciler, *arguments], **options)


def config_set(key, name, value, integer=False):
    reconciler("config", "set", key, name, str(value), *(["--integer"] if integer else []))


def catalogue():
    """The catalogue dump: one dict per document, keyed by the header's field names."""
    text = run([ARGS.refserver, "--catalogue", WORK.catalogue, "--dump"]).stdout.decode()
    lines = text.splitlines()
    header = lines[0].split("\t")
    return [dict(zip(header, line.split("\t"))) for line in lines[1:]]


def owner_pid():
    """The process that owns the bus name, or None."""
    if not WORK.watch.name_has_owner(BUS_NAME):
        return None
    return int(WORK.watch.call_blocking(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", "s", (BUS_NAME,)))


def wait_for_free_name():
    wait_until(lambda: not WORK.watch.name_has_owner(BUS_NAME),
               "the bus name %s to be free" % BUS_NAME)


def start_server(*options):
    """Starts `dks-reconciler serve OPTIONS` and waits until it owns the bus name."""
    wait_for_free_name()
    with WORK.output("serve") as output:
        process = subprocess.Popen([ARGS.reconciler, "serve", *options], env=WORK.env,
                                   cwd=WORK.root, stdout=output, stderr=subprocess.STDOUT)
    WORK.servers.append(process)
    wait_until(lambda: process.poll() is not None or owner_pid() is not None,
               "dks-reconciler serve to own %s" % BUS_NAME)
    if process.poll() is not None:
        raise AssertionError("dks-reconciler serve ended at once with status %d"
                             % process.returncode)
    if owner_pid() != process.pid:
        raise AssertionError("%s is owned by process %s, not by the server just started (%d)"
                             % (BUS_NAME, owner_pid(), process.pid))
    return process


def wait_for_exit(process, what):
    """Waits for a process the test started to end by itself; returns its exit status."""
    try:
        return process.wait(timeout=DEADLINE)
    except subprocess.TimeoutExpired:
        raise AssertionError("after %.0f s, %s is still running" % (DEADLINE, what)) from None


def stop(process):
    """Ends a helper process that may still run: SIGTERM, then SIGKILL."""
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def running(pid):
    """Whether the process runs (a zombie that its parent has yet to collect does not)."""
    state = read_text("/proc/%d/stat" % pid).rpartition(") ")[2]
    return state != "" and not state.startswith("Z")


def end_activated(pid):
    """Ends a server that the bus started for the test and that outlived the test's failure."""
    try:
        if running(pid) and os.path.samefile("/proc/%d/exe" % pid, ARGS.reconciler):
            os.kill(pid, signal.SIGKILL)
    except OSError:
        pass


class Client:
    """One client on the private bus: its own connection, hence its own unique name."""

    def __init__(self):
        self.connection = dbus.bus.BusConnection(WORK.address)

    def close(self):
        self.connection.close()

    def object(self, path):
        # No introspection: every call names its interface and signature, as the contract does.
        return self.connection.get_object(BUS_NAME, path, introspect=False)

    def call(self, path, interface, method, signature="", *arguments):
        return dbus.Interface(self.object(path), interface).get_dbus_method(method)(
            *arguments, signature=signature, timeout=CALL_TIMEOUT)

    def get(self, path, interface, name):
        return self.object(path).Get(interface, name, dbus_interface=PROPERTIES,
                                     signature="ss", timeout=CALL_TIMEOUT)

    def set(self, path, interface, name, value):
        self.object(path).Set(interface, name, value, dbus_interface=PROPERTIES,
                              signature="ssv", timeout=CALL_TIMEOUT)

    def create_reconciler(self):
        return self.call(ROOT_PATH, FACTORY, "CreateReconciler")

    def item(self, collection, cls, index):
        return self.call(collection, PREFIX + cls, "Item", "v", index)


class BusTestCase(unittest.TestCase):
    def assertHandedOut(self, path, cls):
        """An object handed out: an object path /org/dksreconciler/<class>/<n>."""
        self.assertIsInstance(path, dbus.ObjectPath)
        self.assertRegex(path, r"^%s/%s/[0-9]+$" % (ROOT_PATH, cls))

    def assertBusError(self, name, call, *arguments):
        with self.assertRaises(dbus.exceptions.DBusException) as caught:
            call(*arguments)
        self.assertEqual(caught.exception.get_dbus_name(), name, str(caught.exception))

    def client(self):
        client = Client()
        self.addCleanup(client.close)
        return client


class ActivationTest(BusTestCase):
    def test_register_and_activation_by_name(self):
        reconciler("register")
        self.addCleanup(lambda: os.path.exists(WORK.service_file) and os.remove(WORK.service_file))
        lines = read_text(WORK.service_file).splitlines()
        self.assertIn("[D-BUS Service]", lines)
        self.assertIn("Name=" + BUS_NAME, lines)
        execs = [line[len("Exec="):] for line in lines if line.startswith("Exec=")]
        self.assertEqual(len(execs), 1, lines)
        command = shlex.split(execs[0])
        self.assertEqual(command[1:], ["serve"])
        self.assertTrue(os.path.isabs(command[0]), command[0])
        self.assertTrue(os.path.samefile(command[0], ARGS.reconciler), command[0])

        # Nothing serves the name: the bus starts the server for the first call.
        wait_for_free_name()
        client = self.client()
        path = client.connection.call_blocking(BUS_NAME, ROOT_PATH, FACTORY, "CreateReconciler",
                                               "", (), timeout=CALL_TIMEOUT)
        self.assertHandedOut(path, "clsReconciler")
        pid = owner_pid()
        self.assertIsNotNone(pid)
        self.addCleanup(end_activated, pid)
        self.assertTrue(os.path.samefile("/proc/%d/exe" % pid, ARGS.reconciler))
        # The bus's environment names the hive: it holds one include folder, the default does not.
        include = client.get(path, PREFIX + "clsReconciler", "Include")
        self.assertEqual(client.get(include, PREFIX + "colInclude", "Count"), 1)

        client.call(path, PREFIX + "clsReconciler", "ShutDown")
        client.call(path, LIFETIME, "Release")
        wait_until(lambda: not running(pid), "the activated server (process %d) to end" % pid)
        wait_for_free_name()

    def test_unregister_removes_the_service_file(self):
        reconciler("register")
        self.assertTrue(os.path.exists(WORK.service_file))
        reconciler("unregister")
        self.assertFalse(os.path.exists(WORK.service_file))


class ReconcileTest(BusTestCase):
    """Runs through one server, which the bus starts for the class's first call."""

    @classmethod
    def setUpClass(cls):
        reconciler("register")
        wait_for_free_name()
        client = Client()
        try:
            client.create_reconciler()  # by the bus name: the bus starts the server
            cls.pid = owner_pid()
        finally:
            client.close()
        if cls.pid is None:
            raise AssertionError("the bus started no server for %s" % BUS_NAME)

    @classmethod
    def tearDownClass(cls):
        try:
            client = Client()
            path = client.create_reconciler()
            client.call(path, PREFIX + "clsReconciler", "ShutDown")
            client.call(path, LIFETIME, "Release")
            client.close()
            wait_until(lambda: not running(cls.pid),
                       "the activated server (process %d) to end after ShutDown and Release"
                       % cls.pid)
        finally:
            end_activated(cls.pid)
            reconciler("unregister")

    def include_folder(self, client):
        reconciler_path = client.create_reconciler()
        self.assertHandedOut(reconciler_path, "clsReconciler")
        include = client.get(reconciler_path, PREFIX + "clsReconciler", "Include")
        self.assertHandedOut(include, "colInclude")
        self.assertEqual(client.get(include, PREFIX + "colInclude", "Count"), dbus.Int32(1))
        folder = client.item(include, "colInclude", dbus.Int32(1))
        self.assertHandedOut(folder, "clsInclude")
        return reconciler_path, include, folder

    def test_queued_moves_go_out_in_one_request(self):
        documents = catalogue()
        self.assertEqual(len(documents), MESSAGES)
        moved = {doc["id"]: doc for doc in documents[:2]}
        new_locations = {doc_id: "4D4F5645442D%02X" % n for n, doc_id in enumerate(moved, 1)}

        client = self.client()
        reconciler_path, _, folder = self.include_folder(client)
        max_matches = client.get(folder, PREFIX + "clsInclude", "MaxMatches")
        self.assertIsInstance(max_matches, dbus.Int32)
        self.assertEqual(max_matches, MAXIMUM_MATCHES)
        for value in (False, True):
            client.set(folder, PREFIX + "clsInclude", "SubFolders", dbus.Boolean(value))
            read = client.get(folder, PREFIX + "clsInclude", "SubFolders")
            self.assertIsInstance(read, dbus.Boolean)
            self.assertEqual(read, value)

        move = client.get(folder, PREFIX + "clsInclude", "Move")
        self.assertHandedOut(move, "clsMove")
        emails = client.get(move, PREFIX + "clsMove", "Emails")
        self.assertHandedOut(emails, "colEmail")
        queued = []
        now = time.strftime("%d/%m/%Y %H:%M:%S")
        for doc_id, doc in moved.items():
            client.call(emails, PREFIX + "colEmail", "Add", "ss", "", "")
            count = client.get(emails, PREFIX + "colEmail", "Count")
            email = client.item(emails, "colEmail", count)
            self.assertHandedOut(email, "clsEmail")
            queued.append(email)
            values = {
                "DocumentID": dbus.Int32(int(doc_id)),
                "PreviousLocation": dbus.String(doc["location"]),
                "CurrentLocation": dbus.String(new_locations[doc_id]),
                "CurrentDate": dbus.String(now),
                "PreviousDate": dbus.String(doc["last_modified"]),
            }
            for name, value in values.items():
                client.set(email, PREFIX + "clsEmail", name, value)
        self.assertEqual(client.get(emails, PREFIX + "colEmail", "Count"), 2)
        self.assertNotEqual(queued[0], queued[1])

        # The run log is started afresh by the next line the server logs.
        if os.path.exists(WORK.run_log):
            os.remove(WORK.run_log)
        errors_before = read_text(WORK.error_log)
        reconciled = client.call(reconciler_path, PREFIX + "clsReconciler", "pblnReconcile")
        self.assertIsInstance(reconciled, dbus.Boolean)
        self.assertTrue(reconciled)
        self.assertEqual(read_text(WORK.error_log), errors_before, "the run recorded errors")

        # One "move document" request, carrying both e-mails, and no other request than the listing.
        log = read_text(WORK.run_log)
        sends = re.findall(r"^\S+ \S+, (\w[\w ]*), SendXML=(\w+)(?:, Emails=(\d+))?", log, re.M)
        self.assertEqual([send for send in sends if send[0] != "list documents"],
                         [("move document", "True", "2")], log)
        after = {doc["id"]: doc for doc in catalogue()}
        for doc_id, doc in moved.items():
            self.assertEqual(after[doc_id]["location"], "dkemail://" + new_locations[doc_id])
        unmoved = [doc for doc in documents if doc["id"] not in moved]
        self.assertEqual([after[doc["id"]] for doc in unmoved], unmoved)

        self.assertEqual(client.get(reconciler_path, PREFIX + "clsReconciler", "State"), 1)
        # The pass emptied the queue: the e-mails it dropped are gone from the bus.
        self.assertEqual(client.get(emails, PREFIX + "colEmail", "Count"), 0)
        self.assertBusError(UNKNOWN_OBJECT, client.get, queued[0],
                            PREFIX + "clsEmail", "DocumentID")

    def test_inert_interface_beside_the_real_one(self):
        client = self.client()
        _, _, folder = self.include_folder(client)
        script = "http://127.0.0.1:%s/listDocuments" % WORK.port
        self.assertEqual(client.get(folder, PREFIX + "clsInclude", "Script"), script)
        self.assertEqual(client.get(folder, PREFIX + "clsAction", "Script"), "")
        client.set(folder, PREFIX + "clsAction", "Script", dbus.String("http://elsewhere"))
        self.assertEqual(client.get(folder, PREFIX + "clsAction", "Script"), "")
        self.assertEqual(client.get(folder, PREFIX + "clsInclude", "Script"), script)

    def test_every_class_is_exported_with_its_own_and_its_inert_interfaces(self):
        client = self.client()
        _, _, folder = self.include_folder(client)
        include = PREFIX + "clsInclude"
        exclude = client.get(folder, include, "Exclude")
        client.call(exclude, PREFIX + "colExclude", "Add", "sbsss", "Inbox\\Old", True, "", "", "")
        items = client.get(folder, include, "MailItems")
        client.call(items, PREFIX + "colItem", "Add", "ss", "ENTRY", "")
        objects = {
            folder: ["clsInclude", "clsAction", "clsFolder", "clsDocket"],
            exclude: ["colExclude"],
            client.item(exclude, "colExclude", dbus.Int32(1)): ["clsExclude"],
            items: ["colItem"],
            client.item(items, "colItem", dbus.Int32(1)): ["clsItem", "clsEmail", "clsMailItem"],
            client.get(folder, include, "Request"): ["clsDocket"],
        }
        for action in ("Delete", "Save", "Move", "Update"):
            path = client.get(folder, include, action)
            self.assertHandedOut(path, "cls" + action)
            objects[path] = ["cls" + action, "clsAction", "clsDocket"]
            objects[client.get(path, PREFIX + "cls" + action, "Emails")] = ["colEmail"]
        for path, classes in objects.items():
            xml = client.call(path, "org.freedesktop.DBus.Introspectable", "Introspect")
            exported = re.findall(r'<interface name="%s(\w+)"' % re.escape(PREFIX), xml)
            self.assertEqual(sorted(exported), sorted(classes), path)
            for cls in classes:
                client.object(path).GetAll(PREFIX + cls, dbus_interface=PROPERTIES,
                                           signature="s", timeout=CALL_TIMEOUT)
        # The inert folder functions answer False and hand out no object.
        self.assertEqual(client.call(folder, PREFIX + "clsFolder", "pblnGetDefault", "oi", "/", 6),
                         (False, "/"))

    def test_collection_index(self):
        client = self.client()
        _, include, folder = self.include_folder(client)
        # Any integer type is a position and a text a key; the same object keeps its path.
        self.assertEqual(client.item(include, "colInclude", dbus.UInt16(1)), folder)
        self.assertEqual(client.item(include, "colInclude", dbus.Int64(1)), folder)
        self.assertEqual(client.item(include, "colInclude", dbus.String(INCLUDE_KEY)), folder)

        errors_before = read_text(WORK.error_log)
        self.assertEqual(client.item(include, "colInclude", dbus.String("Nothing#9")), "/")
        self.assertEqual(client.item(include, "colInclude", dbus.Double(1.0)), "/")
        added = read_text(WORK.error_log)[len(errors_before):].splitlines()
        records = [line for line in added if " colInclude Item " in line]
        self.assertEqual(len(records), 2, added)
        self.assertIn(" colInclude Item 5 ", records[1])
        # The failures were only recorded: the collection and the server go on.
        self.assertEqual(client.get(include, PREFIX + "colInclude", "Count"), 1)
        self.assertEqual(client.item(include, "colInclude", dbus.Int32(1)), folder)


class LifetimeTest(BusTestCase):
    def tearDown(self):
        for process in WORK.servers:
            stop(process)

    def test_a_client_that_leaves_gives_up_its_reconciler(self):
        server = start_server("--idle-seconds", "2")
        client = self.client()
        path = client.create_reconciler()
        # Longer than the idle period: a held reconciler keeps the process.
        time.sleep(5)
        self.assertIsNone(server.poll(), "the server ended while a client held a reconciler")
        self.assertIsInstance(client.get(path, PREFIX + "clsReconciler", "State"), dbus.Int32)
        client.close()  # without Release
        self.assertEqual(wait_for_exit(server, "the server after its only client left"), 0)

    def test_sigterm_ends_the_server_cleanly_though_a_client_holds_a_reconciler(self):
        server = start_server()
        client = self.client()
        client.create_reconciler()
        server.send_signal(signal.SIGTERM)
        self.assertEqual(wait_for_exit(server, "the server after SIGTERM"), 0)

    def test_two_clients_then_shut_down_and_release(self):
        server = start_server()  # the default idle period is longer than any wait here
        first, second = self.client(), self.client()
        first_path, second_path = first.create_reconciler(), second.create_reconciler()
        self.assertHandedOut(first_path, "clsReconciler")
        self.assertHandedOut(second_path, "clsReconciler")
        self.assertNotEqual(first_path, second_path)
        for client, path in ((first, first_path), (second, second_path)):
            include = client.get(path, PREFIX + "clsReconciler", "Include")
            self.assertEqual(client.get(include, PREFIX + "colInclude", "Count"), 1)

        self.assertEqual(reconciler("serve", check=False, timeout=DEADLINE).returncode, 2)
        self.assertIsNone(server.poll())

        first.call(first_path, LIFETIME, "Release")
        self.assertBusError(UNKNOWN_OBJECT, first.get, first_path,
                            PREFIX + "clsReconciler", "State")
        state = second.get(second_path, PREFIX + "clsReconciler", "State")
        self.assertIsInstance(state, dbus.Int32)

        second.call(second_path, PREFIX + "clsReconciler", "ShutDown")
        self.assertBusError(SHUT_DOWN_ERROR, second.get, second_path,
                            PREFIX + "clsReconciler", "State")
        self.assertBusError(SHUT_DOWN_ERROR, second.call, second_path,
                            PREFIX + "clsReconciler", "pblnReconcile")
        self.assertBusError(SHUT_DOWN_ERROR, first.create_reconciler)
        self.assertIsNone(server.poll(), "the server ended while a client held a reconciler")
        second.call(second_path, LIFETIME, "Release")
        self.assertEqual(wait_for_exit(server, "the server after ShutDown and the last Release"), 0)
        wait_for_free_name()


# ---- The module's set-up: Maildir, document server, hive, a first run, the private bus ---------

def setUpModule():
    global WORK
    WORK = Work(tempfile.mkdtemp(prefix="dksr-bus-"))
    unittest.addModuleCleanup(clean_up)

    run([ARGS.make_maildir, "--messages", str(MESSAGES), WORK.maildir])

    with WORK.output("refserver") as output:
        WORK.refserver = subprocess.Popen(
            [ARGS.refserver, "--listen", "127.0.0.1:0", "--catalogue", WORK.catalogue],
            env=WORK.env, cwd=WORK.root, stdout=output, stderr=subprocess.STDOUT)
    refserver_output = WORK.outputs[-1][1]

    def listening():
        found = re.search(r"^listening on .*:(\d+)$", read_text(refserver_output), re.M)
        if found:
            WORK.port = found.group(1)
        return found or WORK.refserver.poll() is not None
    wait_until(listening, "dks-refserver to listen")
    if WORK.port is None:
        raise AssertionError("dks-refserver did not start")

    config_set("Software\\DKS\\Settings", "Host", "http://127.0.0.1")
    config_set("Software\\DKS\\Settings", "Port", WORK.port)
    config_set("Software\\DKS\\Reconciler\\Include", "MaximumMatches", MAXIMUM_MATCHES, True)
    config_set(INCLUDE_KEY, "SubFolders", 1, True)
    config_set("Software\\DKS\\Reconciler", "Debug", 1, True)
    config_set("Software\\DKS\\Reconciler", "LogFile", WORK.run_log)
    config_set("Software\\DKS\\Reconciler", "ErrorLog", WORK.error_log)

    # Every message becomes a document of the catalogue.
    reconciler("run")
    if os.path.exists(WORK.error_log) or len(catalogue()) != MESSAGES:
        raise AssertionError("the standalone run did not save the %d messages" % MESSAGES)

    # A session bus of the test's own; its environment is the one activated servers get.
    bus_config = os.path.join(WORK.root, "session.conf")
    with open(bus_config, "w") as stream:
        stream.write("""<busconfig>
  <type>session</type>
  <listen>%s</listen>
  <auth>EXTERNAL</auth>
  <standard_session_servicedirs/>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
""" % WORK.address)
    with WORK.output("dbus-daemon") as output:
        WORK.daemon = subprocess.Popen(
            ["dbus-daemon", "--config-file=" + bus_config, "--nofork", "--print-address=1"],
            env=WORK.env, cwd=WORK.root, stdout=output, stderr=subprocess.STDOUT)
    daemon_output = WORK.outputs[-1][1]
    wait_until(lambda: "unix:" in read_text(daemon_output) or WORK.daemon.poll() is not None,
               "dbus-daemon to listen")
    if WORK.daemon.poll() is not None:
        raise AssertionError("dbus-daemon did not start:\n" + read_text(daemon_output))
    WORK.watch = dbus.bus.BusConnection(WORK.address)


def clean_up():
    if WORK is None:
        return
    if WORK.watch is not None:
        WORK.watch.close()
    for process in [*WORK.servers, WORK.refserver]:
        stop(process)
    # Last, so that the bus takes down any server it started.
    stop(WORK.daemon)
    shutil.rmtree(WORK.root, ignore_errors=True)


class DiagnosingResult(unittest.TextTestResult):
    """Shows the outputs of every process and the program's logs after a failure."""

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._diagnose(test)

    def addError(self, test, err):
        super().addError(test, err)
        self._diagnose(test)

    def _diagnose(self, test):
        if WORK is None:
            return
        files = [*WORK.outputs, ("run log", WORK.run_log), ("error log", WORK.error_log)]
        self.stream.writeln("\n==== after the failure of %s" % test)
        for label, path in files:
            lines = read_text(path).splitlines()
            self.stream.writeln("---- %s (%s): %d lines%s" % (
                label, os.path.basename(path), len(lines),
                ", the last 150" if len(lines) > 150 else ""))
            for line in lines[-150:]:
                self.stream.writeln("  | " + line)
        self.stream.flush()


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--reconciler", required=True, help="the dks-reconciler executable")
    parser.add_argument("--refserver", required=True, help="the dks-refserver executable")
    parser.add_argument("--make-maildir", required=True, help="the make_maildir executable")
    ARGS, rest = parser.parse_known_args()
    for name in ("reconciler", "refserver", "make_maildir"):
        setattr(ARGS, name, os.path.abspath(getattr(ARGS, name)))
    runner = unittest.TextTestRunner(resultclass=DiagnosingResult, verbosity=2)
    unittest.main(argv=[sys.argv[0], *rest], testRunner=runner)


if __name__ == "__main__":
    main()
