#include "bridge/sysfs_ports.h"

#include <algorithm>
#include <fstream>

namespace bridge {
namespace {

namespace fs = std::filesystem;

// A sysfs attribute's first line without surrounding blanks; empty when unreadable. Bounded, as
// a descriptor string can be at most 126 characters anyway.
std::string Attribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line(256, '\0');
    in.read(line.data(), static_cast<std::streamsize>(line.size()));
    line.resize(static_cast<std::size_t>(in.gcount()));
    line = line.substr(0, line.find('\n'));
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// ttyUSB12 -> 12; -1 for names that are not a ttyUSB node.
long NodeNumber(const std::string& name) {
    constexpr std::string_view prefix = "ttyUSB";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.size() > prefix.size() + 6 ||
        !std::all_of(name.begin() + prefix.size(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(name.substr(prefix.size()));
}

} // namespace

std::vector<SysfsPort> ListFtdiPorts(const fs::path& sysfsRoot) {
    std::error_code ec;
    const fs::path root = fs::canonical(sysfsRoot, ec);
    std::vector<std::pair<long, SysfsPort>> found;
    for (const auto& entry : fs::directory_iterator(sysfsRoot / "class" / "tty", ec)) {
        const std::string name = entry.path().filename().string();
        const long number = NodeNumber(name);
        if (number < 0)
            continue;
        std::error_code linkError;
        const fs::path target = fs::canonical(entry.path(), linkError);
        if (linkError)
            continue;
        // Up from the tty to the USB device: the first folder with idVendor; the one below it is
        // the iface.
        fs::path device, iface;
        for (fs::path p = target; p.has_relative_path() && p != root; iface = p, p = p.parent_path()) {
            if (fs::exists(p / "idVendor", linkError)) {
                device = p;
                break;
            }
        }
        if (device.empty() || Attribute(device / "idVendor") != "0403")
            continue; // not an FTDI chip: the vendor's driver would not list it either
        SysfsPort port{name, Attribute(device / "serial"), Attribute(device / "product")};
        int interfaces = 1, number_in_chip = 0;
        try {
            interfaces = std::stoi(Attribute(device / "bNumInterfaces"));
            number_in_chip = std::stoi(Attribute(iface / "bInterfaceNumber"), nullptr, 16);
        } catch (const std::exception&) {
            interfaces = 1; // unreadable: taken as a single-port chip
        }
        if (interfaces > 1 && number_in_chip >= 0 && number_in_chip < 26) {
            const char letter = static_cast<char>('A' + number_in_chip);
            port.serial += letter;
            port.description += std::string(" ") + letter;
        }
        found.emplace_back(number, std::move(port));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SysfsPort> ports;
    for (auto& [number, port] : found)
        ports.push_back(std::move(port));
    return ports;
}

} // namespace bridge
