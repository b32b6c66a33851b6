// Libraries opened when first needed: a missing library or function makes the library
// unusable and says which.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "shared_library.h"

namespace rplrun {
namespace {

TEST(SharedLibrary, ReportsWhatItLacks) {
  SharedLibrary missing("librplrun-missing.so.0");
  int (*function)() = nullptr;
  missing.find(function, "anything");
  EXPECT_FALSE(missing.usable());
  EXPECT_EQ(function, nullptr);
  EXPECT_NE(missing.error().find("librplrun-missing.so.0"), std::string::npos) << missing.error();

  SharedLibrary c("libc.so.6");
  std::size_t (*length)(const char*) = nullptr;
  c.find(length, "strlen");
  ASSERT_TRUE(c.usable()) << c.error();
  EXPECT_EQ(length("abc"), 3u);
  c.find(function, "rplrun_missing_function");
  EXPECT_FALSE(c.usable());
  EXPECT_NE(c.error().find("rplrun_missing_function"), std::string::npos) << c.error();
}

}  // namespace
}  // namespace rplrun
