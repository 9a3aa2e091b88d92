// What the device finder lists and when it rebuilds the list: the ZEV filter, the message lines,
// the once-a-second refresh rules and the choice of the item to connect. Platform-neutral; the
// window mirrors the items into its list box.
#pragma once

#include "link/device_catalog.h"

#include <string>
#include <vector>

namespace finder {

struct Item {
    enum class Kind { Device, CountFailed, NoZev } kind = Kind::NoZev;
    std::string description; // ANSI bytes up to the slot's first NUL (device items only)
    std::string serialNumber;
};

// A slot is listed when its description holds "ZEV", case-sensitively, anywhere.
bool PassesFilter(const std::string& description);

class FinderModel {
public:
    explicit FinderModel(devlink::DeviceCatalog& catalog) : catalog_(catalog) {}

    enum class Change {
        None,     // the list keeps its items (and the user's selection)
        Appended, // one item was added at the end
        Rebuilt,  // the list was cleared and filled anew: any selection is gone
    };

    // Fills the list when the window loads. No snapshot is taken here.
    Change Load();
    // One refresh: enumerate, then rebuild only when the set of devices changed.
    Change Refresh();

    const std::vector<Item>& Items() const { return items_; }

    // The position of the item to connect: the only item when there is exactly one, else the
    // selected one; -1 when there is nothing to connect to.
    static int ChooseForConnect(int itemCount, int selectedIndex);

private:
    void AddDeviceItems();

    devlink::DeviceCatalog& catalog_;
    std::vector<Item> items_;
};

} // namespace finder
