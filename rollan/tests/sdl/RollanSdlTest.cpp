#include <gtest/gtest.h>
TEST(RollanSdl, Placeholder) {}
