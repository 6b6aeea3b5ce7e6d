#include "kvzpack/kvzpack_test_support.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

namespace kvzpack_test {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kvzpack-test-XXXXXX").string();
  if (!::mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  // Read-only files and folders from extraction must go too.
  std::error_code ec;
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path);
  const size_t written = data.empty() ? 0 : std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
  if (written != data.size()) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> data;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw std::runtime_error("cannot open " + path);
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
  std::fclose(f);
  return data;
}

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> RandomBytes(uint32_t seed, size_t size) {
  std::mt19937 random(seed);
  std::vector<uint8_t> data(size);
  for (uint8_t& b : data) b = uint8_t(random() >> 24);
  return data;
}

int DecodeArchive(const std::string& path, uint32_t offset, const char* password,
                  std::vector<DecodedEntry>* entries) {
  entries->clear();
  SetupArchive reader;
  const int opened = reader.Open(path.c_str(), offset, password);
  if (opened != 0) return opened;
  for (;;) {
    DecodedEntry entry;
    bool end = false;
    if (!reader.ReadHeader(&entry.header, &end)) return end ? 0 : -2;
    if (entry.header.size != 0) {
      std::unique_ptr<uint8_t[]> body(reader.ReadBody(entry.header, &end));
      if (!body) return -2;
      entry.body.assign(body.get(), body.get() + entry.header.size);
    }
    entries->push_back(std::move(entry));
  }
}

}  // namespace kvzpack_test
