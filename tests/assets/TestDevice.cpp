#include "TestDevice.h"

#include <gtest/gtest.h>

#include "HeadlessDevice.h"

namespace assettest {
namespace {

HeadlessDevice g_device;

class HeadlessDeviceEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(g_device.create(), D3D_OK); }
    void TearDown() override { g_device.release(); }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new HeadlessDeviceEnvironment);

}  // namespace

IDirect3DDevice9* testDevice() { return g_device.device; }

}  // namespace assettest
