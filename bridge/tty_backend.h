// zevbridge's real devices: the kernel's FTDI serial ports (sysfs_ports.h), opened exclusively,
// raw, at the line settings the program asks for. Each open port has a reader thread that fills a
// bounded receive buffer, so "how many bytes wait" is answered at once, and a writer thread that
// drains a bounded send queue, so a write is accepted at once however slow the line (as the
// vendor's driver accepts a write into its buffer). Linux only.
//
// Decisions:
// - Modem lines: DTR and RTS are cleared right after the open and left alone at close (HUPCL
//   off), which is what the vendor's driver leaves for a program that never sets them. Boards
//   often wire DTR/RTS to their reset; the kernel raises both for a moment while opening, and we
//   drop both in one call, so the two lines never differ.
// - Receive overflow: the buffer keeps the oldest bytes (kReceiveCapacity, minutes of a 9600-baud
//   line that nobody reads); what arrives while it is full is dropped, counted and logged, as a
//   chip whose buffer overran.
// - A write that does not fit the send queue whole is refused whole (FT_INSUFFICIENT_RESOURCES).
// - An unplugged device (read or poll error, hang-up) answers FT_IO_ERROR once what it sent before
//   was read.
#pragma once

#include "bridge/device_backend.h"

#include <filesystem>
#include <mutex>
#include <set>

namespace bridge {

struct TtyOptions {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
    std::size_t receiveCapacity = 1u << 20;
    std::size_t sendCapacity = 1u << 20;
};

class TtyBackend : public Backend {
public:
    TtyBackend(TtyOptions options, Log log);
    FT_STATUS Enumerate(std::vector<DeviceInfo>* devices) override;
    FT_STATUS Open(std::uint32_t by, std::string_view key, std::unique_ptr<Port>* port) override;

private:
    void Release(const std::string& node);
    void Say(const std::string& text) const {
        if (log_)
            log_(text);
    }

    TtyOptions options_;
    Log log_;
    std::mutex lock_;
    std::set<std::string> open_; // nodes open for some connection
};

} // namespace bridge
