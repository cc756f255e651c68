// A test with a fresh headless device (HeadlessDevice.h) of its own.
#pragma once

#include <gtest/gtest.h>

#include "HeadlessDevice.h"

class HeadlessDeviceTest : public ::testing::Test, protected HeadlessDevice {
protected:
    void SetUp() override { ASSERT_EQ(create(), D3D_OK); }
    void TearDown() override { release(); }
};
