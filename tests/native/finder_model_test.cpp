// The finder's list rules over a fake driver, under the sanitizers.
#include "finder/finder_model.h"
#include "tests/support/fake_driver.h"

#include <gtest/gtest.h>

#include <memory>

using finder::FinderModel;
using finder::Item;
using testsupport::FakeDriver;
using Change = FinderModel::Change;
using V = std::vector<std::string>;

TEST(FinderModel, FilterNeedsUpperCaseZevAndConnectChoosesTheOnlyOrSelectedItem) {
    for (const char* passes : {"ZEV WiFi Server", "Server ZEV-2", "xZEVx"})
        EXPECT_TRUE(finder::PassesFilter(passes)) << passes;
    for (const char* fails : {"zev wifi", "Zev", "ZE V", ""})
        EXPECT_FALSE(finder::PassesFilter(fails)) << fails;
    const std::tuple<int, int, int> cases[] = {{1, -1, 0}, {1, 0, 0},  {3, -1, -1}, {3, 0, 0},
                                               {3, 2, 2},  {3, 3, -1}, {0, -1, -1}, {0, 0, -1}};
    for (const auto& [count, selected, chosen] : cases)
        EXPECT_EQ(FinderModel::ChooseForConnect(count, selected), chosen) << count << " " << selected;
}

TEST(FinderModel, OpeningsAndTicksFollowTheDeviceSet) {
    FakeDriver fake;
    devlink::DeviceCatalog catalog(fake.table);
    std::unique_ptr<FinderModel> model;
    using Devs = std::vector<FakeDriver::Dev>;
    const Devs mixed = {
        {"FT1", "FT232R USB UART"}, {"ZV1", "ZEV WiFi Server"}, {"ZV2", "Other ZEV"}, {"z3", "zev low"}};
    const Devs swapped = {
        {"ZV2", "Other ZEV"}, {"z3", "zev low"}, {"FT1", "FT232R USB UART"}, {"ZV1", "ZEV WiFi Server"}};
    const Devs one = {{"ZV1", "ZEV A"}}, two = {{"ZV1", "ZEV A"}, {"ZV2", "ZEV B"}}, cable = {{"FT1", "FT232R"}};
    enum Op { Open, Tick };
    const struct {
        Op op;
        const Devs* devices;
        d2xx::FT_STATUS count;
        Change change;
        V items;
        std::int32_t prevCount; // the snapshot's count afterwards
    } steps[] = {
        {Open, &mixed, d2xx::FT_OK, Change::Rebuilt, {"ZEV WiFi Server|ZV1", "Other ZEV|ZV2"}, 0}, // no snapshot
        {Tick, &mixed, d2xx::FT_OK, Change::Rebuilt, {"ZEV WiFi Server|ZV1", "Other ZEV|ZV2"}, 4},
        {Tick, &swapped, d2xx::FT_OK, Change::None, {"ZEV WiFi Server|ZV1", "Other ZEV|ZV2"}, 4}, // other indices
        {Tick, &one, d2xx::FT_OK, Change::Rebuilt, {"ZEV A|ZV1"}, 1}, // slots past the count still hold texts
        {Tick, &one, d2xx::FT_IO_ERROR, Change::Appended, {"ZEV A|ZV1", "<count failed>"}, 1},
        {Tick, &one, d2xx::FT_OK, Change::None, {"ZEV A|ZV1", "<count failed>"}, 1}, // the failure line stays
        {Tick, nullptr, d2xx::FT_OK, Change::Rebuilt, {"<no zev>"}, 0},
        {Tick, nullptr, d2xx::FT_OK, Change::Rebuilt, {"<no zev>"}, 0}, // cleared and added anew
        {Tick, &one, d2xx::FT_OK, Change::Rebuilt, {"ZEV A|ZV1"}, 1},   // plugged in again
        {Open, &one, d2xx::FT_OK, Change::Rebuilt, {"ZEV A|ZV1"}, 1},
        {Tick, &one, d2xx::FT_OK, Change::None, {"ZEV A|ZV1"}, 1}, // as at the previous opening
        {Open, &two, d2xx::FT_OK, Change::Rebuilt, {"ZEV A|ZV1", "ZEV B|ZV2"}, 1},
        {Tick, &two, d2xx::FT_OK, Change::Rebuilt, {"ZEV A|ZV1", "ZEV B|ZV2"}, 2},
        {Tick, &cable, d2xx::FT_OK, Change::Rebuilt, {"<no zev>"}, 1},
        {Open, &one, d2xx::FT_OTHER_ERROR, Change::Rebuilt, {"<count failed>"}, 1},
    };
    for (const auto& s : steps) {
        fake.devices = s.devices ? *s.devices : Devs{};
        fake.fail["count"] = s.count;
        if (!model) // later openings load the same model again: a load starts from an empty list
            model = std::make_unique<FinderModel>(catalog);
        EXPECT_EQ(s.op == Open ? model->Load() : model->Refresh(), s.change) << "step " << &s - steps;
        V items;
        for (const Item& item : model->Items())
            items.push_back(item.kind == Item::Kind::Device        ? item.description + "|" + item.serialNumber
                            : item.kind == Item::Kind::CountFailed ? "<count failed>"
                                                                   : "<no zev>");
        EXPECT_EQ(items, s.items) << "step " << &s - steps;
        EXPECT_EQ(catalog.lPrevNumDevices, s.prevCount) << "step " << &s - steps;
    }
}
