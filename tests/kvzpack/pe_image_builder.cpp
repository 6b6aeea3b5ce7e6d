#include "kvzpack/pe_image_builder.h"

#include <cstring>

#include "setup/engine/archive_format.h"

namespace kvzpack_test {
namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) { kvz::PutU16(&v[at], uint16_t(x)); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { kvz::PutU32(&v[at], x); }

// One resource directory with only id entries: (id, offset word) pairs.
void PutDirectory(std::vector<uint8_t>& v, size_t at,
                  std::initializer_list<std::pair<uint32_t, uint32_t>> entries) {
  Put16(v, at + 14, uint32_t(entries.size()));
  size_t e = at + 16;
  for (const auto& entry : entries) {
    Put32(v, e, entry.first);
    Put32(v, e + 4, entry.second);
    e += 8;
  }
}

}  // namespace

std::vector<uint8_t> BuildPeImage(const PeImageSpec& layout) {
  std::vector<uint8_t> v(0x400, 0);
  v[0] = 'M';
  v[1] = 'Z';
  Put32(v, 0x3C, kPeHeaderOffset);

  const size_t pe = kPeHeaderOffset;
  std::memcpy(&v[pe], "PE\0\0", 4);
  const uint32_t optionalSize = layout.pe32plus ? 240 : 224;
  Put16(v, pe + 4, layout.pe32plus ? 0x8664 : 0x14C);
  Put16(v, pe + 6, 1);  // sections
  Put16(v, pe + 20, optionalSize);
  Put16(v, pe + 22, 0x0102);
  const size_t opt = pe + 24;
  Put16(v, opt, layout.pe32plus ? 0x20B : 0x10B);
  const size_t directories = opt + (layout.pe32plus ? 112 : 96);
  Put32(v, directories - 4, 16);
  if (layout.withVersion || layout.iconTypeFirst) {
    Put32(v, directories + 2 * 8, kResourceRva);
    Put32(v, directories + 2 * 8 + 4, 0x100);
  }

  const size_t section = opt + optionalSize;
  std::memcpy(&v[section], ".rsrc\0\0\0", 8);
  Put32(v, section + 8, 0x100);   // virtual size
  Put32(v, section + 12, kResourceRva);
  Put32(v, section + 16, 0x200);  // raw size
  Put32(v, section + 20, kResourceFileOffset);

  // Tree: root -> type -> name -> language -> data entry -> VS_VERSIONINFO.
  const size_t r = kResourceFileOffset;
  const uint32_t sub = 0x80000000u;
  if (layout.iconTypeFirst && layout.withVersion)
    PutDirectory(v, r, {{3, sub | 0x60}, {16, sub | 0x20}});
  else if (layout.iconTypeFirst)
    PutDirectory(v, r, {{3, sub | 0x60}});
  else
    PutDirectory(v, r, {{16, sub | 0x20}});
  PutDirectory(v, r + 0x20, {{1, sub | 0x38}});
  PutDirectory(v, r + 0x38, {{0x409, 0x50}});
  Put32(v, r + 0x50, kResourceRva + 0x90);  // data RVA
  Put32(v, r + 0x54, 92);                   // data size
  // The icon's branch leads to data that is no version block.
  PutDirectory(v, r + 0x60, {{1, sub | 0x78}});
  PutDirectory(v, r + 0x78, {{0x409, 0x1000}});  // outside the section

  const size_t info = r + 0x90;
  Put16(v, info, 92);
  Put16(v, info + 2, 52);
  const char key[] = "VS_VERSION_INFO";
  for (size_t i = 0; i < sizeof key; ++i) Put16(v, info + 6 + 2 * i, uint8_t(key[i]));
  const size_t fixed = info + 40;
  Put32(v, fixed, 0xFEEF04BD);
  Put32(v, fixed + 4, 0x00010000);
  Put32(v, fixed + 8, layout.fileVersionMS);
  Put32(v, fixed + 12, layout.fileVersionLS);
  Put32(v, fixed + 16, layout.productVersionMS);
  Put32(v, fixed + 20, layout.productVersionLS);
  return v;
}

}  // namespace kvzpack_test
