// The watermark font on Pango and fontconfig.
#include "engine/watermark_font.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <glib.h>
#include <pango/pangocairo.h>

#include <atomic>
#include <cmath>
#include <mutex>

#include "settings/settings.h"

namespace quill {
namespace {

std::atomic<const WatermarkFont*> current_font{nullptr};

// Text that Pango accepts: invalid UTF-8 sequences become replacement characters instead of a
// warning and a cut.
std::string ValidUtf8(std::string_view text) {
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  std::string result(valid);
  g_free(valid);
  return result;
}

}  // namespace

// The Pango objects of the font. Pango's objects are not safe to use from two threads at once,
// so every use takes the lock.
struct WatermarkFont::Parts {
  PangoFontMap* font_map = nullptr;
  PangoContext* context = nullptr;
  PangoFontDescription* description = nullptr;
  PangoAttrList* attributes = nullptr;
  std::string resolved_family;
  mutable std::mutex lock;

  ~Parts() {
    if (attributes != nullptr) pango_attr_list_unref(attributes);
    if (description != nullptr) pango_font_description_free(description);
    if (context != nullptr) g_object_unref(context);
    if (font_map != nullptr) g_object_unref(font_map);
  }

  // A layout of one line for drawing on `cr`, laid out with the font options of `antialias`.
  PangoLayout* Layout(cairo_t* cr, std::string_view line, bool antialias) const {
    pango_cairo_update_context(cr, context);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options,
                                     antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_attributes(layout, attributes);
    const std::string text = ValidUtf8(line);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    return layout;
  }
};

WatermarkFont::WatermarkFont(std::unique_ptr<Parts> parts, int pixel_height)
    : parts_(std::move(parts)), pixel_height_(pixel_height) {}

WatermarkFont::~WatermarkFont() = default;

std::unique_ptr<WatermarkFont> WatermarkFont::Create(const std::string& family, int32_t size,
                                                     int32_t style, int32_t effect) {
  if (family.empty() || size <= 0) return nullptr;
  const int64_t pixel_height = std::llround(static_cast<double>(size) * 96.0 / 72.0);
  // A font taller than any canvas can draw nothing.
  if (pixel_height > kMaxCanvasSide) return nullptr;

  auto parts = std::make_unique<Parts>();
  parts->font_map = pango_cairo_font_map_new();
  if (parts->font_map == nullptr) return nullptr;
  parts->context = pango_font_map_create_context(parts->font_map);
  parts->description = pango_font_description_new();
  const std::string name = ValidUtf8(family);
  pango_font_description_set_family(parts->description, name.c_str());
  pango_font_description_set_absolute_size(parts->description,
                                           static_cast<double>(pixel_height) * PANGO_SCALE);
  const bool bold = style == 1 || style == 3;
  const bool italic = style == 2 || style == 3;
  pango_font_description_set_weight(parts->description,
                                    bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(parts->description,
                                   italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  parts->attributes = pango_attr_list_new();
  if (effect == 1)
    pango_attr_list_insert(parts->attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (effect == 2) pango_attr_list_insert(parts->attributes, pango_attr_strikethrough_new(TRUE));

  // Fontconfig substitutes a face for any family; it finds none only when the system has no
  // fonts at all, and then Pango would still hand out a font that draws nothing.
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return nullptr;
  FcPatternDestroy(match);

  PangoFont* font = pango_font_map_load_font(parts->font_map, parts->context, parts->description);
  if (font == nullptr) return nullptr;
  PangoFontDescription* found = pango_font_describe(font);
  if (const char* resolved = pango_font_description_get_family(found)) {
    parts->resolved_family = resolved;
  }
  pango_font_description_free(found);
  g_object_unref(font);
  return std::unique_ptr<WatermarkFont>(
      new WatermarkFont(std::move(parts), static_cast<int>(pixel_height)));
}

std::unique_ptr<WatermarkFont> WatermarkFont::Create(const Settings& settings) {
  return Create(settings.font, settings.font_size, settings.font_style, settings.font_effect);
}

WatermarkFont::Extent WatermarkFont::Measure(std::string_view line, bool antialias) const {
  const std::lock_guard<std::mutex> guard(parts_->lock);
  // Measured on a surface of the kind that is drawn on, so that both lay the text out alike.
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  PangoLayout* layout = parts_->Layout(cr, line, antialias);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  return {width, height};
}

void WatermarkFont::Draw(Canvas& canvas, std::string_view line, int x, int y, Rgba colour,
                         bool antialias) const {
  if (!canvas.valid()) return;
  const std::lock_guard<std::mutex> guard(parts_->lock);
  cairo_t* cr = cairo_create(canvas.surface());
  if (!antialias) {
    // Underline and strike-through lines are rectangles, which follow the context's setting
    // rather than the font's.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  }
  cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0,
                        colour.alpha / 255.0);
  PangoLayout* layout = parts_->Layout(cr, line, antialias);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_flush(canvas.surface());
}

std::string WatermarkFont::ResolvedFamily() const { return parts_->resolved_family; }

const WatermarkFont* CurrentWatermarkFont() { return current_font.load(); }

ScopedWatermarkFont::ScopedWatermarkFont(const Settings& settings) {
  current_font.store(WatermarkFont::Create(settings).release());
}

ScopedWatermarkFont::~ScopedWatermarkFont() { delete current_font.exchange(nullptr); }

}  // namespace quill
