#include "finder/finder_model.h"

namespace finder {

bool PassesFilter(const std::string& description) { return description.find("ZEV") != std::string::npos; }

void FinderModel::AddDeviceItems() {
    for (std::int32_t i = 0; i < catalog_.lNumDevices; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        std::string description = devlink::FieldText(catalog_.sDescriptions[slot]);
        if (!PassesFilter(description))
            continue;
        items_.push_back({Item::Kind::Device, std::move(description), devlink::FieldText(catalog_.sSerialNumbers[slot])});
    }
}

FinderModel::Change FinderModel::Load() {
    items_.clear();
    if (!catalog_.EnumerateDevices()) {
        items_.push_back({Item::Kind::CountFailed, {}, {}});
        return Change::Rebuilt;
    }
    AddDeviceItems();
    if (items_.empty())
        items_.push_back({Item::Kind::NoZev, {}, {}});
    return Change::Rebuilt;
}

FinderModel::Change FinderModel::Refresh() {
    if (!catalog_.EnumerateDevices()) {
        // The failure line stays until the list is next cleared.
        items_.push_back({Item::Kind::CountFailed, {}, {}});
        return Change::Appended;
    }
    if (catalog_.lNumDevices < 1) {
        items_.assign(1, {Item::Kind::NoZev, {}, {}});
        catalog_.lPrevNumDevices = 0;
        return Change::Rebuilt;
    }
    Change change = Change::None;
    if (catalog_.IsCatalogChanged()) {
        items_.clear();
        AddDeviceItems();
        catalog_.TakeSnapshot();
        change = Change::Rebuilt;
    }
    if (items_.empty()) {
        items_.push_back({Item::Kind::NoZev, {}, {}});
        if (change == Change::None)
            change = Change::Appended;
    }
    return change;
}

int FinderModel::ChooseForConnect(int itemCount, int selectedIndex) {
    if (itemCount == 1)
        return 0;
    return selectedIndex >= 0 && selectedIndex < itemCount ? selectedIndex : -1;
}

} // namespace finder
