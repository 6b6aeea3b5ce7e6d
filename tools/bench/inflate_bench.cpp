// inflate_bench: InflateStream against zlib's inflate on one mixed corpus
// (executables, text, incompressible data) compressed by zlib at level 9.
// Prints the throughput of each (output bytes per second, best of several
// runs) and their ratio. Usage: inflate_bench [corpus MB] [runs]
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "setup/engine/buffered_file.h"
#include "setup/engine/inflate_stream.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

void AppendFiles(Bytes& out, const char* folder, size_t budget, bool executablesOnly) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    if (e.is_regular_file(ec) && !e.is_symlink(ec)) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  const size_t stop = out.size() + budget;
  for (const fs::path& p : files) {
    if (out.size() >= stop) break;
    std::ifstream f(p, std::ios::binary);
    Bytes data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (executablesOnly && (data.size() < 4 || std::memcmp(data.data(), "\x7f" "ELF", 4) != 0)) continue;
    const size_t take = std::min(data.size(), stop - out.size());
    out.insert(out.end(), data.begin(), data.begin() + long(take));
  }
}

void AppendGeneratedText(Bytes& out, size_t n, std::mt19937& rng) {
  static const char* const kWords[] = {"the", "setup", "archive", "window", "file", "registry", "value",
                                       "install", "remove", "program", "of", "and", "to", "a", "is",
                                       "shortcut", "folder", "system", "Kelvo", "Remover", "2004", "Lite"};
  const size_t stop = out.size() + n;
  while (out.size() < stop) {
    const int words = 5 + int(rng() % 12);
    for (int i = 0; i < words; ++i) {
      const char* w = kWords[rng() % (sizeof kWords / sizeof *kWords)];
      out.insert(out.end(), w, w + std::strlen(w));
      out.push_back(i + 1 == words ? '.' : ' ');
    }
    out.push_back(rng() % 4 == 0 ? '\n' : ' ');
  }
  out.resize(stop);
}

Bytes BuildCorpus(size_t total) {
  Bytes out;
  out.reserve(total);
  std::mt19937 rng(2004);
  AppendFiles(out, "/usr/bin", total * 45 / 100, true);
  AppendFiles(out, "/usr/lib/x86_64-linux-gnu", total * 15 / 100, true);
  AppendFiles(out, "/usr/share/common-licenses", total / 10, false);
  const size_t textEnd = total * 85 / 100;
  if (out.size() < textEnd) AppendGeneratedText(out, textEnd - out.size(), rng);
  while (out.size() < total) out.push_back(uint8_t(rng()));
  return out;
}

Bytes Compress(const Bytes& data) {
  uLongf size = compressBound(uLong(data.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, data.data(), uLong(data.size()), 9) != Z_OK) {
    std::fprintf(stderr, "compress2 failed\n");
    std::exit(1);
  }
  out.resize(size);
  return out;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The archive reader's way: the source through a 4096-byte BufferedFile,
// output in requests of `request` bytes (0: one request for everything).
double RunInflateStream(const Bytes& z, Bytes& out, size_t request, bool discard) {
  const auto t0 = std::chrono::steady_clock::now();
  BufferedFile file;
  file.OpenMemory(z.data(), z.size(), 4096);
  InflateStream s;
  if (s.Open(&file) != 0) return -1;
  size_t pos = 0;
  const size_t step = request ? request : out.size();
  while (pos < out.size()) {
    const size_t n = std::min(step, out.size() - pos);
    if (s.Run(discard ? nullptr : out.data() + pos, n) != 0) return -1;
    pos += n;
  }
  uint8_t b;
  if (s.Run(&b, 1) != 1) return -1;
  return Seconds(std::chrono::steady_clock::now() - t0);
}

double RunZlib(const Bytes& z, Bytes& out) {
  const auto t0 = std::chrono::steady_clock::now();
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return -1;
  zs.next_in = const_cast<Bytef*>(z.data());
  zs.avail_in = uInt(z.size());
  zs.next_out = out.data();
  zs.avail_out = uInt(out.size());
  const int r = inflate(&zs, Z_FINISH);
  inflateEnd(&zs);
  if (r != Z_STREAM_END) return -1;
  return Seconds(std::chrono::steady_clock::now() - t0);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t megabytes = argc > 1 ? size_t(std::atoi(argv[1])) : 30;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  const Bytes corpus = BuildCorpus(megabytes << 20);
  const Bytes z = Compress(corpus);
  std::printf("corpus %.1f MB, zlib -9 %.1f MB (%.1f%%), zlib %s\n", corpus.size() / 1048576.0,
              z.size() / 1048576.0, 100.0 * double(z.size()) / double(corpus.size()), zlibVersion());

  Bytes out(corpus.size());
  double bestOurs = 1e9, bestZlib = 1e9, bestChunked = 1e9, bestDiscard = 1e9;
  for (int i = 0; i < runs; ++i) {
    std::fill(out.begin(), out.end(), 0);
    const double ours = RunInflateStream(z, out, 0, false);
    if (ours < 0 || out != corpus) {
      std::fprintf(stderr, "InflateStream: wrong output\n");
      return 1;
    }
    const double chunked = RunInflateStream(z, out, 40000, false);
    const double discard = RunInflateStream(z, out, 0, true);
    std::fill(out.begin(), out.end(), 0);
    const double theirs = RunZlib(z, out);
    if (theirs < 0 || out != corpus) {
      std::fprintf(stderr, "zlib: wrong output\n");
      return 1;
    }
    bestOurs = std::min(bestOurs, ours);
    bestChunked = std::min(bestChunked, chunked);
    bestDiscard = std::min(bestDiscard, discard);
    bestZlib = std::min(bestZlib, theirs);
  }
  const double mb = corpus.size() / 1048576.0;
  std::printf("zlib inflate                 %8.1f MB/s\n", mb / bestZlib);
  std::printf("InflateStream, one request   %8.1f MB/s\n", mb / bestOurs);
  std::printf("InflateStream, 40000-byte    %8.1f MB/s\n", mb / bestChunked);
  std::printf("InflateStream, no output     %8.1f MB/s\n", mb / bestDiscard);
  std::printf("ratio InflateStream / zlib   %8.2f\n", bestZlib / bestOurs);
  return 0;
}
