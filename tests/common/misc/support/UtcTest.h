// Local time is the C library's: tests of calendar times pin it to UTC so
// that they are exact.
#pragma once

#include <gtest/gtest.h>

#include <ctime>

#include "support/Environment.h"

class UtcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_env.Set("TZ", "UTC");
    tzset();
  }
  void TearDown() override {
    m_env.Restore();
    tzset();
  }

 private:
  ScopedEnvironment m_env;
};
