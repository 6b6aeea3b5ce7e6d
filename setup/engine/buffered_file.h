// BufferedFile: the buffered byte stream under the archive reader, the
// script reader and writer, and the log. Portable: the file itself is
// reached through the small OS layer (os_file.h), Win32 in setup and POSIX
// in the Linux tools and tests.
//
// One buffer serves both directions: reading keeps the unread bytes
// [cur, end), writing the pending bytes [begin, cur). A memory block opened
// with OpenMemory is read through the same buffer as a file would be, so a
// cipher can decrypt in place without touching the caller's block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "setup/engine/os_file.h"

class ArchiveCipher;

class BufferedFile {
 public:
  BufferedFile();
  ~BufferedFile();  // closes (and so flushes)
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  // The buffer is allocated on first use: a file written only in blocks of
  // at least bufferSize bytes never gets one.
  bool Open(const char* path, FileOpen mode, size_t bufferSize = 4096);
  // Reads from a block of memory the caller keeps alive; no file.
  void OpenMemory(const void* data, size_t size, size_t bufferSize = 4096);
  bool IsOpen() const;
  // Flushes pending output; false when that write (or an earlier one) failed.
  bool Close();

  // Reading. ReadByte gives -1 at the end or on a failure.
  int ReadByte();
  size_t Read(void* dst, size_t n);
  // One line of at most limit - 1 bytes, NUL-terminated: CR bytes are
  // dropped, the LF is kept and ends the line. False when no byte was read.
  bool ReadLine(char* line, size_t limit);
  // The buffered unread bytes, refilling the buffer when it is empty:
  // *available is 0 at the end of the file or after a read failure.
  // Consume(n) then takes n of them. For decoders that read in bulk.
  const uint8_t* Peek(size_t* available);
  void Consume(size_t n);
  // True once a read or write of the file itself has failed.
  bool Failed() const;

  // Writing. WriteString and Printf drop CR and write each LF as CR LF;
  // Printf formats through a 2048-byte buffer.
  bool WriteByte(uint8_t b);
  bool Write(const void* src, size_t n);
  bool WriteString(const char* text);
  bool Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool Flush();
  // Flushes, then sets the file's last-write time (FILETIME, UTC).
  bool SetLastWriteTime(uint64_t fileTime);

  // Absolute position in the file (reading: drops the buffer). A cipher
  // keeps its place in the keystream: seek before attaching one.
  bool Seek(uint64_t offset);
  uint64_t Tell() const;

  // Encrypted archives: from now on every byte read is decrypted in place
  // (and every byte written encrypted), starting with the bytes already
  // buffered after the current position. The file owns the cipher.
  void AttachCipher(ArchiveCipher* cipher);

 private:
  struct Impl;
  Impl* impl_;
};
