#include "tools/kvzpack/stamp.h"

#include "setup/engine/archive_format.h"

namespace kvzpack {

StampState ReadStamp(const uint8_t* head, size_t headSize, uint64_t fileSize, StampWords* words) {
  if (headSize < kvz::kStampMinFileSize || head[0] != 'M' || head[1] != 'Z') return StampState::None;
  const uint32_t a = kvz::GetU32(head + kvz::kStampOffsetA);
  const uint32_t b = kvz::GetU32(head + kvz::kStampOffsetB);
  if (kvz::GetU32(head + kvz::kStampOffsetNotA) != ~a || kvz::GetU32(head + kvz::kStampOffsetNotB) != ~b)
    return StampState::None;
  words->offset = a;
  words->end = b;
  if (a >= b) return StampState::Invalid;
  if (fileSize < b) return StampState::Truncated;
  return StampState::Valid;
}

bool StampExecutable(const std::vector<uint8_t>& stub, const std::vector<uint8_t>& archive,
                     std::vector<uint8_t>* out, std::string* error) {
  if (stub.size() < 2 || stub[0] != 'M' || stub[1] != 'Z') {
    *error = "the stub is not an executable (no MZ header)";
    return false;
  }
  if (stub.size() < kvz::kStampMinFileSize) {
    *error = "the stub is shorter than an MS-DOS header (" + std::to_string(stub.size()) + " bytes)";
    return false;
  }
  StampWords old;
  if (ReadStamp(stub.data(), stub.size(), stub.size(), &old) != StampState::None) {
    *error = "the stub already carries an archive (at offset " + std::to_string(old.offset) +
             "); use an unstamped copy of setup";
    return false;
  }
  const uint64_t end = uint64_t(stub.size()) + archive.size();
  if (end > 0xFFFFFFFFu) {
    *error = "stub and archive together reach 4 GB, which the stamp cannot address";
    return false;
  }
  out->clear();
  out->reserve(size_t(end));
  out->insert(out->end(), stub.begin(), stub.end());
  out->insert(out->end(), archive.begin(), archive.end());
  const uint32_t a = uint32_t(stub.size());
  const uint32_t b = uint32_t(end);
  kvz::PutU32(out->data() + kvz::kStampOffsetA, a);
  kvz::PutU32(out->data() + kvz::kStampOffsetNotA, ~a);
  kvz::PutU32(out->data() + kvz::kStampOffsetB, b);
  kvz::PutU32(out->data() + kvz::kStampOffsetNotB, ~b);
  return true;
}

}  // namespace kvzpack
