// The display written as PNG pictures (--screen), decoded with libpng and compared pixel
// by pixel with the picture expected: dark pixels listed or drawn as rectangles.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "rplrun_test.h"

namespace fs = std::filesystem;

namespace {

struct Picture {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<bool> dark;  // row by row
  bool at(std::size_t x, std::size_t y) const { return dark[y * width + x]; }
};

Picture blank_display() { return {131, 64, std::vector<bool>(131 * 64)}; }

void set(Picture& p, std::size_t x, std::size_t y) { p.dark[y * p.width + x] = true; }

// The outline of a rectangle, corners included.
void outline(Picture& p, std::size_t x0, std::size_t y0, std::size_t x1, std::size_t y1) {
  for (std::size_t x = x0; x <= x1; ++x) set(p, x, y0), set(p, x, y1);
  for (std::size_t y = y0; y <= y1; ++y) set(p, x0, y), set(p, x1, y);
}

// The PNG decoded at `scale`: each square must be one colour, dark or light.
Picture decode(const fs::path& path, std::size_t scale) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    ADD_FAILURE() << "no picture " << path;
    return {};
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_stdio(&image, file.get())) {
    ADD_FAILURE() << path << ": " << image.message;
    return {};
  }
  image.format = PNG_FORMAT_GRAY;
  std::vector<png_byte> gray(PNG_IMAGE_SIZE(image));
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, gray.data(), 0, nullptr)) << image.message;
  Picture p{image.width / scale, image.height / scale, {}};
  EXPECT_EQ(p.width * scale, image.width);
  EXPECT_EQ(p.height * scale, image.height);
  p.dark.resize(p.width * p.height);
  for (std::size_t y = 0; y < image.height; ++y) {
    for (std::size_t x = 0; x < image.width; ++x) {
      const bool dark = gray[y * image.width + x] < 128;
      if (x % scale == 0 && y % scale == 0) {
        p.dark[y / scale * p.width + x / scale] = dark;
      } else if (dark != p.at(x / scale, y / scale)) {
        ADD_FAILURE() << path << ": square (" << x / scale << "," << y / scale
                      << ") is not of one colour";
        return p;
      }
    }
  }
  return p;
}

void expect_picture(const Picture& got, const Picture& expected, const std::string& what) {
  ASSERT_EQ(got.width, expected.width) << what;
  ASSERT_EQ(got.height, expected.height) << what;
  int wrong = 0;
  for (std::size_t y = 0; y < got.height; ++y) {
    for (std::size_t x = 0; x < got.width; ++x) {
      if (got.at(x, y) != expected.at(x, y) && ++wrong <= 5)
        ADD_FAILURE() << what << ": pixel (" << x << "," << y << ") should be "
                      << (expected.at(x, y) ? "dark" : "light");
    }
  }
}

class ScreenPicture : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           ("rplrun_screen_" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  harness::Outcome run(std::vector<std::string> args) {
    harness::Invocation inv = rplrun_invocation(std::move(args));
    inv.cwd = dir_.string();
    return harness::run(inv);
  }

  fs::path dir_;
};

TEST_F(ScreenPicture, EndOfRunShowsWhatWasShownLast) {
  struct Case {
    const char* rpl;
    std::vector<std::pair<std::size_t, std::size_t>> dark;
  };
  const Case cases[] = {
      // The text screen: a grob put there from the top-left corner.
      {"GROB 3 2 5020 \\->LCD", {{0, 0}, {2, 0}, {1, 1}}},
      // PICT, drawn on last.
      {"GROB 3 2 5020 \\->LCD { #3d #1d } PIXON", {{3, 1}}},
      // The text screen again: PICT drawn on, then DISP's first line.
      {"{ #3d #1d } PIXON \"\" 1 DISP", {}},
      // Nothing shown: the text screen, blank.
      {"1 2 +", {}},
  };
  for (const Case& c : cases) {
    const harness::Outcome got = run({"--screen=out.png", "-q", "-e", c.rpl});
    ASSERT_EQ(got.status, 0) << c.rpl << ": " << got.err;
    Picture expected = blank_display();
    for (const auto& [x, y] : c.dark) set(expected, x, y);
    expect_picture(decode(dir_ / "out.png", 4), expected, c.rpl);
  }
}

TEST_F(ScreenPicture, ScaleAndFrames) {
  ASSERT_EQ(run({"--screen=one.png", "--screen-scale=1", "-e", "{ #130d #63d } PIXON"}).status, 0);
  Picture corner = blank_display();
  set(corner, 130, 63);
  expect_picture(decode(dir_ / "one.png", 1), corner, "scale 1");

  // Two frames of ANIMATE; the end shows the second again, so no third is written.
  const harness::Outcome got =
      run({"--screen=frames/", "-e", "GROB 2 1 10 GROB 2 1 20 2 ANIMATE DROP DROP2"});
  ASSERT_EQ(got.status, 0) << got.err;
  Picture first = blank_display(), second = blank_display();
  set(first, 0, 0);
  set(second, 1, 0);
  expect_picture(decode(dir_ / "frames/0001.png", 4), first, "frame 1");
  expect_picture(decode(dir_ / "frames/0002.png", 4), second, "frame 2");
  EXPECT_FALSE(fs::exists(dir_ / "frames/0003.png"));

  // A frame of the text screen, then PICT drawn on: the end is one more frame.
  ASSERT_EQ(run({"--screen=more/", "-e", "GROB 1 1 10 \\->LCD { #1d #1d } PIXON"}).status, 0);
  corner = blank_display();
  set(corner, 1, 1);
  expect_picture(decode(dir_ / "more/0001.png", 4), first, "frame 1 of 2");
  expect_picture(decode(dir_ / "more/0002.png", 4), corner, "the end");
}

TEST_F(ScreenPicture, WriteFailuresAreUsageErrors) {
  struct Case {
    const char* screen;
    const char* err;
  };
  const Case cases[] = {
      {"--screen=missing/dir/out.png",
       "rplrun: cannot write 'missing/dir/out.png': No such file or directory\n"},
      {"--screen=/dev/full", "rplrun: cannot write '/dev/full': No space left on device\n"},
      // The first frame that fails ends the frames, with one message.
      {"--screen=missing/dir/",
       "rplrun: cannot write 'missing/dir/0001.png': No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const harness::Outcome got = run({c.screen, "-e", "1 FREEZE 2 FREEZE 3"});
    EXPECT_EQ(got.status, 2) << c.screen;
    EXPECT_EQ(got.out, "1: 3\n") << c.screen;
    EXPECT_EQ(got.err, c.err) << c.screen;
  }
}

// The bouncing ball example: one frame each PVIEW, the ball falling inside its box.
TEST_F(ScreenPicture, BouncingBallFrames) {
  const std::string example = source_dir() + "/examples/bounce.c48";
  const harness::Outcome got = run({"--screen=ball/", "-q", example, "6 BOUNCE"});
  ASSERT_EQ(got.status, 0) << got.err;
  EXPECT_TRUE(fs::exists(dir_ / "ball/0006.png"));
  EXPECT_FALSE(fs::exists(dir_ / "ball/0007.png"));
  // The ball's centre in pixels in frames 1 and 6: x from -5 by .4 a frame, y from 2
  // falling by .1 more each frame; ten pixels a unit, (0,0) at pixel (65,32).
  const std::pair<std::size_t, std::size_t> centres[] = {{15, 12}, {35, 27}};
  const char* frames[] = {"ball/0001.png", "ball/0006.png"};
  for (int k = 0; k < 2; ++k) {
    Picture expected = blank_display();
    outline(expected, 1, 1, 129, 62);
    const auto [x, y] = centres[k];
    outline(expected, x - 2, y - 2, x + 2, y + 2);
    outline(expected, x - 1, y - 1, x + 1, y + 1);
    expect_picture(decode(dir_ / frames[k], 4), expected, frames[k]);
  }
}

}  // namespace
