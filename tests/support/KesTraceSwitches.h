// Test support: a fixture base that starts every test with the trace switches off and the
// attribute base's cached switch forgotten, and leaves them so for the next test.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDebug.h"

#include <gtest/gtest.h>

class KesTraceSwitchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDebug("Access", 0);
        KesMfgAttribute::_debug = -1;
    }
    void TearDown() override {
        ResetDebug();
        KesMfgAttribute::_debug = -1;
    }
};
