#!/usr/bin/python3
"""A StatusNotifierWatcher and host stand-in for the end-to-end tests, on the session bus.

    sni_watcher.py ITEMS_FILE

Owns org.kde.StatusNotifierWatcher and says a host is registered, as a desktop's panel would (the
freedesktop.org StatusNotifierItem protocol, its StatusNotifierWatcher interface). Every
registered item is written to ITEMS_FILE as one line "SERVICE PATH"; an item whose service leaves
the bus is taken off the list. Runs until terminated.
"""

import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
PATH = "/StatusNotifierWatcher"
PROPERTIES = "org.freedesktop.DBus.Properties"

# dbus-python's own introspection leaves out properties, which Qt looks up before reading them.
INTROSPECTION = f"""<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
  <interface name="{WATCHER}">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
  <interface name="{PROPERTIES}">
    <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="v" direction="out"/></method>
    <method name="GetAll"><arg type="s" direction="in"/><arg type="a{{sv}}" direction="out"/></method>
  </interface>
  <interface name="org.freedesktop.DBus.Introspectable">
    <method name="Introspect"><arg type="s" direction="out"/></method>
  </interface>
</node>
"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, items_file):
        super().__init__(bus, PATH)
        self.bus = bus
        self.items_file = items_file
        self.items = []  # (service, path)
        self.write()
        bus.add_signal_receiver(self.name_owner_changed, "NameOwnerChanged", "org.freedesktop.DBus")

    def write(self):
        with open(self.items_file + ".tmp", "w") as out:
            for service, path in self.items:
                out.write(f"{service} {path}\n")
        os.replace(self.items_file + ".tmp", self.items_file)

    def name_owner_changed(self, name, old, new):
        if new == "":
            kept = [(s, p) for (s, p) in self.items if s not in (name, old)]
            if kept != self.items:
                for service, path in self.items:
                    if (service, path) not in kept:
                        self.StatusNotifierItemUnregistered(service + path)
                self.items = kept
                self.write()

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # Either a bus name (with the default path) or an object path on the caller's connection.
        if service.startswith("/"):
            item = (sender, service)
        else:
            item = (service, "/StatusNotifierItem")
        if item not in self.items:
            self.items.append(item)
            self.write()
            self.StatusNotifierItemRegistered(item[0] + item[1])

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, item):
        pass

    @dbus.service.signal(WATCHER)
    def StatusNotifierHostRegistered(self):
        pass

    def properties(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array([s + p for s, p in self.items], signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties() if interface == WATCHER else {}

    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s",
                         path_keyword="object_path", connection_keyword="connection")
    def Introspect(self, object_path, connection):
        return INTROSPECTION


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus, sys.argv[1])
    name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
    watcher.StatusNotifierHostRegistered()
    GLib.MainLoop().run()
    del name


if __name__ == "__main__":
    main()
