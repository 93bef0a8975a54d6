// The format tables as data.
#include "engine/format_registry.h"

#include <FreeImage.h>

#include <cstdlib>

#include "engine/hash_order.h"
#include "settings/ascii.h"
#include "settings/product.h"

namespace quill {
namespace {

struct Family {
  const char* group;
  std::vector<const char*> members;  // each "ext" or "ext=own description"
  const char* description;
};

}  // namespace

FormatRegistry::FormatRegistry() {
  outputs_ = {
      {FIF_BMP, "bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
      {FIF_EXR, "exr", "ILM OpenEXR", "96"},
      {FIF_GIF, "gif", "Graphics Interchange Format", "8"},
      {FIF_HDR, "hdr", "High Dynamic Range Image", "96"},
      {FIF_ICO, "ico", "Windows Icon", "1,4,8,16,24,32"},
      {FIF_J2K, "j2k", "JPEG-2000 Codestream", "8,24,32,48"},
      {FIF_JNG, "jng", "JPEG Network Graphics", "24,32"},
      {FIF_JP2, "jp2", "JPEG-2000 File Format", "8,24,32,48"},
      {FIF_JPEG, "jpg", "JPEG File Format", "8,24"},
      {FIF_JXR, "jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
      {FIF_PBM, "pbm", "Portable Bitmap", "1"},
      {FIF_PFM, "pfm", "Portable Floatmap", "96"},
      {FIF_PGM, "pgm", "Portable Greymap", "8"},
      {FIF_PNG, "png", "Portable Network Graphics", "1,4,8,24,32,48"},
      {FIF_PPM, "ppm", "Portable Pixelmap", "24,48"},
      {FIF_TARGA, "tga", "Truevision Targa", "8,16,24,32"},
      {FIF_TIFF, "tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
      {FIF_WBMP, "wbmp", "Wireless Bitmap", "1"},
      {FIF_WEBP, "webp", "Google WebP Image Format", "24,32"},
      {FIF_XPM, "xpm", "X11 Pixmap Format", "24"},
  };
  const std::vector<Family> families = {
      {"bmp", {"bmp", "rle", "dib"}, "Windows or OS/2 Bitmap"},
      {"dds", {"dds"}, "DirectDraw Surface File"},
      {"emf", {"emf", "emz"}, "Enhanced Metafile Format"},
      {"gif", {"gif"}, "GIF File"},
      {"hdr", {"hdr", "hdri"}, "High Dynamic Range File"},
      {"ico", {"ico"}, "Windows Icon"},
      {"jpg", {"jpg", "jpeg", "jpe", "jif"}, "JPEG File"},
      {"pcd", {"pcd", "pcd1", "pcds", "ppcd"}, "Kodak PhotoCD File"},
      {"pcx", {"pcx"}, "ZSoft Paintbrush File"},
      {"pic", {"pic", "pict", "pct"}, "Macintosh PICT"},
      {"png", {"png"}, "Portable Network Graphics"},
      {"psd", {"psd"}, "Adobe Photoshop File"},
      {"tga", {"tga", "targa"}, "Truevision Targa"},
      {"tiff", {"tiff", "tif"}, "Tagged Image File Format"},
      {"wmf", {"wmf", "wmz", "apm=Aldus Placeable Metafile"}, "Windows Metafile Format"},
      {"raw",
       {"raw",
        "raw1",
        "raw2",
        "3fr=Hasselblad Camera RAW Image",
        "arw=Sony Camera RAW Image",
        "sr2=Sony Camera RAW Image",
        "srf=Sony Camera RAW Image",
        "bay=Casio Camera RAW Image",
        "bmq=NuCore RAW Image",
        "cap=Phase One Camera RAW Image",
        "iiq=Phase One Camera RAW Image",
        "eip=Phase One Camera RAW Image",
        "cine=Phantom RAW Image",
        "cr2=Canon Camera RAW Image",
        "crw=Canon Camera RAW Image",
        "cs1=Capture Shop RAW Image",
        "dc2=Kodak Camera RAW Image",
        "dcr=Kodak Camera RAW Image",
        "drf=Kodak Camera RAW Image",
        "dsc=Kodak Camera RAW Image",
        "k25=Kodak Camera RAW Image",
        "kc2=Kodak Camera RAW Image",
        "kdc=Kodak Camera RAW Image",
        "dcs=Kodak Camera RAW Image",
        "dng=Adobe Digital Negative Image",
        "erf=Epson Camera RAW Image",
        "fff=Imacon Camera RAW Image",
        "ia=Sinar RAW Image",
        "sti=Sinar RAW Image",
        "mdc=Minolta Camera RAW Image",
        "mrw=Minolta Camera RAW Image",
        "mef=Mamiya Camera RAW Image",
        "mos=Mamiya Camera RAW Image",
        "nef=Nikon Camera RAW Image",
        "nrw=Nikon Camera RAW Image",
        "orf=Olympus Camera RAW Image",
        "pef=Pentax Camera RAW Image",
        "ptx=Pentax Camera RAW Image",
        "pxn=Logitech Camera RAW Image",
        "qtk=Apple Quicktake Camera RAW Image",
        "raf=Fuji Camera RAW Image",
        "rdc=Digital Foto Maker RAW Image",
        "rw2=Panasonic Camera RAW Image",
        "rwz=Rawzor Camera RAW Image",
        "x3f=Sigma Camera RAW Image",
        "ari=ARRI RAW Image",
        "r3d=RED RAW Image",
        "rwl=Leica Camera RAW Image"},
       "Camera RAW Image"},
  };
  for (const Family& family : families) {
    for (std::string_view member : family.members) {
      const size_t equals = member.find('=');
      if (equals == std::string_view::npos) {
        inputs_.push_back({std::string(member), family.group, family.description});
      } else {
        inputs_.push_back({std::string(member.substr(0, equals)), family.group,
                           std::string(member.substr(equals + 1))});
      }
    }
  }
  input_table_order_ = HashTableOrder(inputs_, [](const InputFormat& f) { return f.extension; });
}

const OutputFormat* FormatRegistry::FindOutput(std::string_view extension) const {
  const std::string key = AsciiLower(extension);
  for (const OutputFormat& f : outputs_) {
    if (f.extension == key) return &f;
  }
  return nullptr;
}

const InputFormat* FormatRegistry::FindInput(std::string_view extension) const {
  const std::string key = AsciiLower(extension);
  for (const InputFormat& f : inputs_) {
    if (f.extension == key) return &f;
  }
  return nullptr;
}

std::vector<const InputFormat*> FormatRegistry::InputsInTableOrder() const {
  std::vector<const InputFormat*> ordered;
  for (const size_t index : input_table_order_) ordered.push_back(&inputs_[index]);
  return ordered;
}

std::vector<std::string> FormatRegistry::AcceptedInputExtensions(
    const std::vector<std::string>& enabled_input_formats) const {
  std::vector<std::string> accepted;
  for (const std::string& enabled : enabled_input_formats) {
    for (const size_t index : input_table_order_) {
      if (inputs_[index].group == enabled) accepted.push_back(inputs_[index].extension);
    }
  }
  return accepted;
}

std::vector<std::string> FormatRegistry::AcceptedInputExtensions() const {
  return AcceptedInputExtensions(EnabledInputFormats());
}

std::vector<int> FormatRegistry::AllowedDepths(std::string_view extension) const {
  std::vector<int> depths;
  const OutputFormat* format = FindOutput(extension);
  if (format == nullptr) return depths;
  const std::string& text = format->allowed_depths;
  for (size_t start = 0; start < text.size();) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    depths.push_back(std::atoi(text.substr(start, comma - start).c_str()));
    start = comma + 1;
  }
  return depths;
}

std::string FormatDisplayText(std::string_view extension, std::string_view description) {
  std::string text = AsciiUpper(extension);
  if (!description.empty()) text += " (" + std::string(description) + ")";
  return text;
}

}  // namespace quill
