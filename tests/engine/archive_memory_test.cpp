// The archive reader out of memory: no room for the decoder is setup's
// fatal runtime error, not a damaged archive that a caller might shrug off.
#include <gtest/gtest.h>

#include <cstddef>
#include <new>

#include "engine/support/kvz_writer.h"
#include "setup/app/setup_exception.h"
#include "setup/engine/archive.h"
#include "setup/engine/inflate_stream.h"

namespace {
// Size of the one nothrow allocation to refuse next; 0: refuse none.
std::size_t g_refuseSize = 0;
}  // namespace

// Passes every allocation through to the ordinary operator new (so that
// sanitizers pair it with delete), except the one armed above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_refuseSize != 0 && size == g_refuseSize) {
    g_refuseSize = 0;
    return nullptr;
  }
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

TEST(ArchiveMemory, NoRoomForTheDecoderIsFatalAndLeavesTheReaderClosed) {
  kvtest::Entry e;
  e.name = "Setup.ini";
  e.body = kvtest::MixedData(100, 1);
  const kvtest::Bytes archive = kvtest::BuildArchive({e});

  SetupArchive reader;
  g_refuseSize = sizeof(InflateStream);
  try {
    reader.OpenMemory(archive.data(), archive.size(), nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const cException& x) {
    EXPECT_EQ(x.kind, uint32_t(kExceptionFatal));
    EXPECT_EQ(x.code, kInternalFailureCode);
  }
  EXPECT_EQ(g_refuseSize, 0u) << "the decoder was never allocated";
  EXPECT_FALSE(reader.IsOpen());

  // With memory again the same reader opens the same archive.
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader header;
  EXPECT_TRUE(reader.Find("Setup.ini", &header, nullptr, nullptr));
}
