#!/usr/bin/python3
"""A desktop's D-Bus tray in small: a StatusNotifierWatcher with a host on the session
bus, and the calls a host makes on a registered item and its exported menu.

  tray-host.py serve LOG          watcher and host; logs what registers
  tray-host.py wait-item SECONDS  waits until an item is registered
  tray-host.py activate | secondary | context
  tray-host.py double GAP_MS      two activations GAP_MS apart, as a host's double click
  tray-host.py layout             prints the exported menu
  tray-host.py about-to-show [ID] tells the item that its menu (or sub-menu ID) opens
  tray-host.py click LABEL        chooses the menu item with this label
  tray-host.py children LABEL     prints the labels of the sub-menu with this label
"""
import os
import sys
import time

import dbus

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"

# dbus-python leaves properties out of its introspection data, and Qt reads the
# watcher's IsStatusNotifierHostRegistered through an introspected interface.
INTROSPECTION = """<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>"""


def serve(log_path):
    import dbus.mainloop.glib
    import dbus.service
    from gi.repository import GLib

    log = open(log_path, "a", buffering=1)

    def say(text):
        log.write("%.3f %s\n" % (time.monotonic(), text))

    class Watcher(dbus.service.Object):
        def __init__(self, bus):
            super().__init__(bus, WATCHER_PATH)
            self.items = []

        @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
        def RegisterStatusNotifierItem(self, service, sender=None):
            # An item names its bus name or only its object path.
            if service.startswith("/"):
                item = sender + service
            else:
                item = service + "/StatusNotifierItem"
            if item not in self.items:
                self.items.append(item)
            say("item registered " + item)
            self.StatusNotifierItemRegistered(item)

        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierHost(self, service):
            self.StatusNotifierHostRegistered()

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemRegistered(self, item):
            pass

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemUnregistered(self, item):
            pass

        @dbus.service.signal(WATCHER, signature="")
        def StatusNotifierHostRegistered(self):
            pass

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
        def Get(self, interface, name):
            return self.GetAll(interface)[name]

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
        def GetAll(self, interface):
            return {
                "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True),
                "ProtocolVersion": dbus.Int32(0),
            }

        @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
        def Introspect(self):
            return INTROSPECTION

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    names = [dbus.service.BusName("org.kde.StatusNotifierHost-%d" % os.getpid(), bus),
             dbus.service.BusName(WATCHER, bus)]
    say("watcher ready")
    GLib.MainLoop().run()
    del watcher, names


def registered_items(bus):
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    return [str(i) for i in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                        dbus_interface=dbus.PROPERTIES_IFACE)]


def last_item(bus):
    service, path = registered_items(bus)[-1].split("/", 1)
    return service, bus.get_object(service, "/" + path)


def menu_of(bus):
    service, item = last_item(bus)
    path = item.Get(ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
    return dbus.Interface(bus.get_object(service, path), MENU)


def layout(menu):
    return menu.GetLayout(0, -1, dbus.Array([], signature="s"))[1]


def find(node, label):
    ident, properties, children = node
    if properties.get("label", "") == label:
        return node
    for child in children:
        found = find(child, label)
        if found is not None:
            return found
    return None


def show(node, depth=0):
    ident, properties, children = node
    label = properties.get("label", "")
    if properties.get("type", "") == "separator":
        label = "----"
    flags = "" if properties.get("enabled", True) else " (disabled)"
    print("%s%s%s" % ("  " * depth, label, flags))
    for child in children:
        show(child, depth + 1)


def main(argv):
    command = argv[1]
    if command == "serve":
        serve(argv[2])
        return 0
    bus = dbus.SessionBus()
    if command == "wait-item":
        deadline = time.monotonic() + float(argv[2])
        while time.monotonic() < deadline:
            try:
                if registered_items(bus):
                    return 0
            except dbus.DBusException:
                pass
            time.sleep(0.1)
        return 1
    if command in ("activate", "secondary", "context", "double"):
        sni = dbus.Interface(last_item(bus)[1], ITEM)
        if command == "activate":
            sni.Activate(100, 100)
        elif command == "secondary":
            sni.SecondaryActivate(100, 100)
        elif command == "context":
            sni.ContextMenu(100, 100)
        else:
            sni.Activate(100, 100)
            time.sleep(float(argv[2]) / 1000.0)
            sni.Activate(100, 100)
        return 0
    menu = menu_of(bus)
    if command == "layout":
        show(layout(menu))
    elif command == "about-to-show":
        menu.AboutToShow(int(argv[2]) if len(argv) > 2 else 0)
    elif command in ("click", "children"):
        node = find(layout(menu), argv[2])
        if node is None:
            print("no menu item " + argv[2], file=sys.stderr)
            return 1
        if command == "click":
            menu.Event(node[0], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))
        else:
            for child in node[2]:
                print(child[1].get("label", "----"))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
