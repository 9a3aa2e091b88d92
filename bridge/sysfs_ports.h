// The FTDI serial ports the kernel made (ftdi_sio binds every FTDI chip and makes /dev/ttyUSB*),
// found through sysfs as the kernel lays it out:
//   <sysfs>/class/tty/ttyUSB0 -> ../../devices/.../usbN/N-1/N-1:1.0/ttyUSB0/tty/ttyUSB0
// with idVendor, product, serial and bNumInterfaces in the USB device folder (N-1) and
// bInterfaceNumber in the interface folder (N-1:1.0). Linux only; the root is a parameter so
// tests can lay out a tree of their own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bridge {

struct SysfsPort {
    std::string node;        // "ttyUSB0": the name under /dev
    std::string serial;      // the USB serial, with "A", "B"... for each port of a multi-port chip
    std::string description; // the USB product string, with " A", " B"... likewise
};

// FTDI ports only (USB vendor 0403), in ttyUSB number order.
std::vector<SysfsPort> ListFtdiPorts(const std::filesystem::path& sysfsRoot);

} // namespace bridge
