#include "support/testutil.h"
#include <gtest/gtest.h>
TEST(Smoke, Builds) { SUCCEED(); }
