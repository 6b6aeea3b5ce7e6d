#include "pe_imports.h"

namespace {

struct Reader {
  const std::vector<unsigned char>& file;
  bool ok = true;

  uint32_t Get(size_t offset, int bytes) {
    if (offset + bytes > file.size()) {
      ok = false;
      return 0;
    }
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
      value = value << 8 | file[offset + i];
    return value;
  }
  uint16_t U16(size_t offset) { return uint16_t(Get(offset, 2)); }
  uint32_t U32(size_t offset) { return Get(offset, 4); }
  std::string Text(size_t offset) {
    std::string s;
    while (offset < file.size() && file[offset])
      s += char(file[offset++]);
    if (offset >= file.size())
      ok = false;
    return s;
  }
};

struct Section {
  uint32_t rva, size, raw;
};

}  // namespace

bool ReadPeImage(const std::vector<unsigned char>& file, PeImage& image,
                 std::string& error) {
  Reader r{file};
  if (r.U16(0) != 0x5A4D) {
    error = "no MZ header";
    return false;
  }
  const size_t pe = r.U32(0x3C);
  if (r.U32(pe) != 0x00004550) {
    error = "no PE signature";
    return false;
  }
  image.machine = r.U16(pe + 4);
  const unsigned sectionCount = r.U16(pe + 6);
  const size_t optional = pe + 24;
  const size_t sectionTable = optional + r.U16(pe + 20);
  image.magic = r.U16(optional);
  const bool plus = image.magic == 0x20B;
  if (!plus && image.magic != 0x10B) {
    error = "unknown optional header";
    return false;
  }
  image.subsystemMajor = r.U16(optional + 48);
  image.subsystemMinor = r.U16(optional + 50);
  image.subsystem = r.U16(optional + 68);
  const size_t directories = optional + (plus ? 112 : 96);
  const uint32_t importRva = r.U32(directories + 8);
  image.relocationDirSize = r.U32(directories + 5 * 8 + 4);

  std::vector<Section> sections;
  for (unsigned i = 0; i < sectionCount; ++i) {
    const size_t s = sectionTable + i * 40;
    sections.push_back({r.U32(s + 12), r.U32(s + 16), r.U32(s + 20)});
  }
  auto offsetOf = [&](uint32_t rva) -> size_t {
    for (const Section& s : sections)
      if (rva >= s.rva && rva < s.rva + s.size)
        return s.raw + (rva - s.rva);
    r.ok = false;
    return file.size();
  };

  image.imports.clear();
  for (size_t d = offsetOf(importRva); r.ok; d += 20) {
    const uint32_t lookup = r.U32(d) ? r.U32(d) : r.U32(d + 16);
    const uint32_t nameRva = r.U32(d + 12);
    if (!nameRva)
      break;
    const std::string dll = r.Text(offsetOf(nameRva));
    const int width = plus ? 8 : 4;
    for (size_t t = offsetOf(lookup); r.ok; t += width) {
      const uint32_t low = r.U32(t);
      const uint32_t high = plus ? r.U32(t + 4) : 0;
      const bool byOrdinal = plus ? (high & 0x80000000u) : (low & 0x80000000u);
      if (!low && !high)
        break;
      if (byOrdinal)
        image.imports.push_back(dll + "!#" + std::to_string(low & 0xFFFF));
      else
        image.imports.push_back(dll + "!" + r.Text(offsetOf(low) + 2));
    }
  }
  if (!r.ok)
    error = "import table outside the file";
  return r.ok;
}
