// The format tables, lookups, accepted extensions and display texts.
#include "engine/format_registry.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <set>

namespace quill {
namespace {

TEST(FormatRegistryTest, TablesHoldEveryFormat) {
  const FormatRegistry registry;
  EXPECT_EQ(registry.outputs().size(), 20u);
  EXPECT_EQ(registry.inputs().size(), 79u);
  std::set<std::string> families;
  for (const InputFormat& f : registry.inputs()) families.insert(f.group);
  EXPECT_EQ(families.size(), 16u);
}

TEST(FormatRegistryTest, SpotChecks) {
  const FormatRegistry registry;
  const struct {
    const char* ext;
    int library;
    const char* description;
    std::vector<int> depths;
  } outputs[] = {{"jpg", FIF_JPEG, "JPEG File Format", {8, 24}},
                 {"BMP", FIF_BMP, "Windows or OS/2 Bitmap", {1, 4, 8, 16, 24, 32}},
                 {"Tga", FIF_TARGA, "Truevision Targa", {8, 16, 24, 32}},
                 {"webp", FIF_WEBP, "Google WebP Image Format", {24, 32}},
                 {"xpm", FIF_XPM, "X11 Pixmap Format", {24}}};
  for (const auto& c : outputs) {
    const OutputFormat* f = registry.FindOutput(c.ext);
    ASSERT_NE(f, nullptr) << c.ext;
    EXPECT_EQ(f->library_format, c.library);
    EXPECT_EQ(f->description, c.description);
    EXPECT_EQ(registry.AllowedDepths(c.ext), c.depths);
  }
  EXPECT_EQ(registry.FindOutput("pcx"), nullptr);
  EXPECT_EQ(registry.FindOutput("jpeg"), nullptr);
  const struct {
    const char* ext;
    const char* group;
    const char* description;
  } inputs[] = {{"TIF", "tiff", "Tagged Image File Format"},
                {"apm", "wmf", "Aldus Placeable Metafile"},
                {"wmz", "wmf", "Windows Metafile Format"},
                {"raw2", "raw", "Camera RAW Image"},
                {"dcs", "raw", "Kodak Camera RAW Image"},
                {"rwl", "raw", "Leica Camera RAW Image"},
                {"jif", "jpg", "JPEG File"}};
  for (const auto& c : inputs) {
    const InputFormat* f = registry.FindInput(c.ext);
    ASSERT_NE(f, nullptr) << c.ext;
    EXPECT_EQ(f->group, c.group);
    EXPECT_EQ(f->description, c.description);
  }
  EXPECT_EQ(registry.inputs().back().extension, "rwl");
  EXPECT_EQ(registry.FindInput("xyz"), nullptr);
}

TEST(FormatRegistryTest, AcceptedExtensionsAndDisplayText) {
  const FormatRegistry registry;
  EXPECT_EQ(registry.AcceptedInputExtensions(), std::vector<std::string>{"png"});
  EXPECT_EQ(FormatDisplayText("jpg"), "JPG");
  EXPECT_EQ(FormatDisplayText("jpg", "JPEG File Format"), "JPG (JPEG File Format)");
}

}  // namespace
}  // namespace quill
