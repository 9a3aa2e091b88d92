// The finder's list rules over a fake driver, under the sanitizers: filter, rebuild only on a
// change of the device set, failure lines that stay, and the choice of the item to connect. The
// window's tests cover the message lines on the real list.
#include "finder/finder_model.h"
#include "tests/support/fake_driver.h"

#include <gtest/gtest.h>

using finder::FinderModel;
using finder::Item;
using testsupport::FakeDriver;
using namespace d2xx;
using Change = FinderModel::Change;

namespace {

std::vector<std::string> Texts(const FinderModel& model) {
    std::vector<std::string> out;
    for (const Item& item : model.Items()) {
        switch (item.kind) {
        case Item::Kind::Device:
            out.push_back(item.description + "|" + item.serialNumber);
            break;
        case Item::Kind::CountFailed:
            out.push_back("<count failed>");
            break;
        case Item::Kind::NoZev:
            out.push_back("<no zev>");
            break;
        }
    }
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(FinderFilter, NeedsUpperCaseZevAnywhere) {
    EXPECT_TRUE(finder::PassesFilter("ZEV WiFi Server"));
    EXPECT_TRUE(finder::PassesFilter("Server ZEV-2"));
    EXPECT_TRUE(finder::PassesFilter("xZEVx"));
    EXPECT_FALSE(finder::PassesFilter("zev wifi"));
    EXPECT_FALSE(finder::PassesFilter("Zev"));
    EXPECT_FALSE(finder::PassesFilter("ZE V"));
    EXPECT_FALSE(finder::PassesFilter(""));
}

TEST(FinderModel, LoadListsOnlyZevDevicesInDriverOrder) {
    FakeDriver fake;
    fake.devices = {{"FT1", "FT232R USB UART"}, {"ZV1", "ZEV WiFi Server"}, {"ZV2", "Other ZEV"}, {"z3", "zev low"}};
    devlink::DeviceCatalog catalog(fake.table);
    FinderModel model(catalog);
    EXPECT_EQ(model.Load(), Change::Rebuilt);
    EXPECT_EQ(Texts(model), (V{"ZEV WiFi Server|ZV1", "Other ZEV|ZV2"}));
    EXPECT_EQ(catalog.lPrevNumDevices, 0) << "no snapshot at load";
}

TEST(FinderModel, HotPlugRebuildsAndReorderingDoesNot) {
    FakeDriver fake;
    fake.devices = {{"ZV1", "ZEV A"}};
    devlink::DeviceCatalog catalog(fake.table);
    FinderModel model(catalog);
    model.Load();
    EXPECT_EQ(model.Refresh(), Change::Rebuilt);
    EXPECT_EQ(model.Refresh(), Change::None);
    fake.devices.push_back({"ZV2", "ZEV B"});
    EXPECT_EQ(model.Refresh(), Change::Rebuilt);
    EXPECT_EQ(Texts(model), (V{"ZEV A|ZV1", "ZEV B|ZV2"}));
    std::swap(fake.devices[0], fake.devices[1]);
    EXPECT_EQ(model.Refresh(), Change::None) << "same devices at other indices";
    EXPECT_EQ(Texts(model), (V{"ZEV A|ZV1", "ZEV B|ZV2"}));
}

TEST(FinderModel, AFailedCountAppendsALineThatStaysWhileNothingChanges) {
    FakeDriver fake;
    fake.devices = {{"ZV1", "ZEV A"}};
    devlink::DeviceCatalog catalog(fake.table);
    FinderModel model(catalog);
    model.Load();
    model.Refresh();
    fake.countStatus = FT_IO_ERROR;
    EXPECT_EQ(model.Refresh(), Change::Appended);
    EXPECT_EQ(model.Refresh(), Change::Appended);
    fake.countStatus = FT_OK;
    EXPECT_EQ(model.Refresh(), Change::None);
    EXPECT_EQ(Texts(model), (V{"ZEV A|ZV1", "<count failed>", "<count failed>"}));
    fake.devices.clear();
    model.Refresh();
    EXPECT_EQ(Texts(model), V{"<no zev>"});
}

TEST(FinderModel, ChoosesTheOnlyItemOrTheSelectedOne) {
    EXPECT_EQ(FinderModel::ChooseForConnect(1, -1), 0);
    EXPECT_EQ(FinderModel::ChooseForConnect(1, 0), 0);
    EXPECT_EQ(FinderModel::ChooseForConnect(3, -1), -1);
    EXPECT_EQ(FinderModel::ChooseForConnect(3, 2), 2);
    EXPECT_EQ(FinderModel::ChooseForConnect(3, 3), -1);
    EXPECT_EQ(FinderModel::ChooseForConnect(0, -1), -1);
}
