// qexdel_pad IN OUT SIZE: copies the PE program IN to OUT, padded with zero
// bytes after its last section to exactly SIZE bytes. setup carries the
// self-delete helper as a resource of a fixed size, so a program that has
// grown past SIZE is an error of the build, not something to truncate.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Enough of the PE layout to refuse anything that is not a program.
bool LooksLikePe(const std::vector<unsigned char>& image) {
  if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z')
    return false;
  const size_t pe = image[0x3C] | image[0x3D] << 8 | image[0x3E] << 16 |
                    size_t(image[0x3F]) << 24;
  return pe + 4 <= image.size() && image[pe] == 'P' && image[pe + 1] == 'E' &&
         image[pe + 2] == 0 && image[pe + 3] == 0;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "qexdel_pad: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4)
    return Fail("usage: qexdel_pad IN OUT SIZE");
  char* end = nullptr;
  const unsigned long size = std::strtoul(argv[3], &end, 10);
  if (!*argv[3] || *end || size == 0)
    return Fail(std::string("bad size: ") + argv[3]);

  std::ifstream in(argv[1], std::ios::binary);
  if (!in)
    return Fail(std::string("cannot read ") + argv[1]);
  std::vector<unsigned char> image((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (!LooksLikePe(image))
    return Fail(std::string(argv[1]) + " is not a PE program");
  if (image.size() > size)
    return Fail(std::string(argv[1]) + " is " + std::to_string(image.size()) +
                " bytes, more than the " + std::to_string(size) + " allowed");
  image.resize(size, 0);

  // Write beside the target and rename, so a failed run leaves no half file.
  const std::string temp = std::string(argv[2]) + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), image.size());
    if (!out.flush())
      return Fail("cannot write " + temp);
  }
  if (std::rename(temp.c_str(), argv[2]) != 0) {
    std::remove(temp.c_str());
    return Fail(std::string("cannot replace ") + argv[2]);
  }
  return 0;
}
