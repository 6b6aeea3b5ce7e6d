#include "tools/kvzpack/pe_version.h"

#include "setup/engine/archive_format.h"

namespace kvzpack {
namespace {

constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BDu;
constexpr size_t kFixedInfoSize = 52;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kResourceDirectorySize = 16;
constexpr size_t kResourceEntrySize = 8;

// The image as a byte range; every accessor fails instead of reading past it.
class Image {
 public:
  Image(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  bool U16(uint64_t offset, uint32_t* v) const {
    if (!Has(offset, 2)) return false;
    *v = kvz::GetU16(data_ + offset);
    return true;
  }
  bool U32(uint64_t offset, uint32_t* v) const {
    if (!Has(offset, 4)) return false;
    *v = kvz::GetU32(data_ + offset);
    return true;
  }
  const uint8_t* At(uint64_t offset) const { return data_ + offset; }

 private:
  const uint8_t* data_;
  size_t size_;
};

struct Section {
  uint32_t virtualAddress;
  uint32_t rawSize;
  uint32_t rawOffset;
};

// Maps relative virtual addresses to file offsets through the section table.
class AddressMap {
 public:
  AddressMap(const Image& image, uint64_t table, uint32_t count)
      : image_(image), table_(table), count_(count) {}

  // File offset of length bytes at rva, all inside one section's raw data.
  bool ToOffset(uint32_t rva, uint32_t length, uint64_t* offset) const {
    for (uint32_t i = 0; i < count_; ++i) {
      const uint64_t at = table_ + uint64_t(i) * kSectionHeaderSize;
      Section s;
      if (!image_.U32(at + 12, &s.virtualAddress) || !image_.U32(at + 16, &s.rawSize) ||
          !image_.U32(at + 20, &s.rawOffset))
        return false;
      if (rva < s.virtualAddress) continue;
      const uint64_t delta = uint64_t(rva) - s.virtualAddress;
      if (delta >= s.rawSize || length > s.rawSize - delta) continue;
      *offset = uint64_t(s.rawOffset) + delta;
      return image_.Has(*offset, length);
    }
    return false;
  }

 private:
  const Image& image_;
  uint64_t table_;
  uint32_t count_;
};

// Resource directories address their children relative to the start of the
// resource tree. Picks the entry with the given id, or the first entry of
// any kind when id is 0 (name and language levels). Returns the child's
// offset word, subdirectory bit included.
bool FindResourceEntry(const Image& image, const AddressMap& map, uint32_t treeRva,
                       uint32_t directoryOffset, uint32_t id, uint32_t* child) {
  uint64_t dir;
  if (uint64_t(treeRva) + directoryOffset > 0xFFFFFFFFu) return false;
  const uint32_t dirRva = treeRva + directoryOffset;
  if (!map.ToOffset(dirRva, kResourceDirectorySize, &dir)) return false;
  uint32_t named, ids;
  if (!image.U16(dir + 12, &named) || !image.U16(dir + 14, &ids)) return false;
  const uint32_t count = named + ids;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t entryRva = uint64_t(dirRva) + kResourceDirectorySize + uint64_t(i) * kResourceEntrySize;
    uint64_t entry;
    if (entryRva > 0xFFFFFFFFu || !map.ToOffset(uint32_t(entryRva), kResourceEntrySize, &entry))
      return false;
    uint32_t nameWord, offsetWord;
    if (!image.U32(entry, &nameWord) || !image.U32(entry + 4, &offsetWord)) return false;
    // Named entries come first and never match a numeric type id.
    if (id == 0 || (i >= named && nameWord == id)) {
      *child = offsetWord;
      return true;
    }
  }
  return false;
}

// VS_VERSIONINFO: wLength, wValueLength, wType, the UTF-16 key
// "VS_VERSION_INFO", padding to a 32-bit boundary, then VS_FIXEDFILEINFO.
bool ReadFixedInfo(const Image& image, uint64_t block, uint32_t blockSize, PeVersion* version) {
  uint32_t length, valueLength;
  if (!image.U16(block, &length) || !image.U16(block + 2, &valueLength)) return false;
  if (length > blockSize || valueLength < kFixedInfoSize) return false;
  uint64_t key = 6;
  for (;; key += 2) {
    uint32_t ch;
    if (key + 2 > length || !image.U16(block + key, &ch)) return false;
    if (ch == 0) break;
  }
  const uint64_t value = (key + 2 + 3) & ~uint64_t(3);
  if (value + kFixedInfoSize > length || !image.Has(block + value, kFixedInfoSize)) return false;
  const uint8_t* p = image.At(block + value);
  if (kvz::GetU32(p) != kFixedInfoSignature) return false;
  version->fileVersionMS = kvz::GetU32(p + 8);
  version->fileVersionLS = kvz::GetU32(p + 12);
  version->productVersionMS = kvz::GetU32(p + 16);
  version->productVersionLS = kvz::GetU32(p + 20);
  return true;
}

}  // namespace

bool ReadPeVersion(const uint8_t* data, size_t size, PeVersion* version) {
  const Image image(data, size);
  if (!image.Has(0, 0x40) || data[0] != 'M' || data[1] != 'Z') return false;
  uint32_t pe;
  if (!image.U32(0x3C, &pe) || !image.Has(pe, 24)) return false;
  if (kvz::GetU32(data + pe) != 0x00004550u) return false;  // "PE\0\0"

  uint32_t sectionCount, optionalSize, magic;
  if (!image.U16(pe + 6, &sectionCount) || !image.U16(pe + 20, &optionalSize)) return false;
  const uint64_t optional = uint64_t(pe) + 24;
  if (!image.U16(optional, &magic)) return false;
  uint64_t directoryCountAt;
  if (magic == 0x10B)
    directoryCountAt = 92;
  else if (magic == 0x20B)
    directoryCountAt = 108;
  else
    return false;
  uint32_t directoryCount;
  if (!image.U32(optional + directoryCountAt, &directoryCount)) return false;
  // The resource table is data directory 2; it must lie inside the header.
  const uint64_t resourceDirectory = directoryCountAt + 4 + 2 * 8;
  if (directoryCount < 3 || resourceDirectory + 8 > optionalSize) return false;
  uint32_t treeRva;
  if (!image.U32(optional + resourceDirectory, &treeRva) || treeRva == 0) return false;

  const AddressMap map(image, optional + optionalSize, sectionCount);
  // Three levels: type, name, language. The first name and the first
  // language do, as a version resource has one of each in practice.
  uint32_t typeChild, nameChild, dataEntry;
  if (!FindResourceEntry(image, map, treeRva, 0, kResourceTypeVersion, &typeChild) ||
      !(typeChild & kSubdirectoryBit))
    return false;
  if (!FindResourceEntry(image, map, treeRva, typeChild & ~kSubdirectoryBit, 0, &nameChild) ||
      !(nameChild & kSubdirectoryBit))
    return false;
  if (!FindResourceEntry(image, map, treeRva, nameChild & ~kSubdirectoryBit, 0, &dataEntry) ||
      (dataEntry & kSubdirectoryBit))
    return false;

  uint64_t entry;
  if (uint64_t(treeRva) + dataEntry > 0xFFFFFFFFu || !map.ToOffset(treeRva + dataEntry, 16, &entry))
    return false;
  uint32_t dataRva, dataSize;
  if (!image.U32(entry, &dataRva) || !image.U32(entry + 4, &dataSize)) return false;
  uint64_t block;
  if (dataSize < 6 || !map.ToOffset(dataRva, dataSize, &block)) return false;
  return ReadFixedInfo(image, block, dataSize, version);
}

}  // namespace kvzpack
