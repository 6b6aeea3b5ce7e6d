// BufferedFile: the buffered byte stream under the archive reader, the
// script reader and writer, and the log. Portable: the file itself is
// reached through the small OS layer (os_file.h), Win32 in setup and POSIX
// in the Linux tools and tests.
#pragma once

#include <cstddef>
#include <cstdint>

class ArchiveCipher;

// The ways setup opens files.
enum class FileOpen {
  ReadExisting,       // read, shared for reading, the file must exist
  WriteCreateAlways,  // write, not shared, created or truncated
  AppendOpenAlways,   // write, shared for reading, created if missing, at the end
};

class BufferedFile {
 public:
  BufferedFile();
  ~BufferedFile();  // closes (and so flushes)
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  bool Open(const char* path, FileOpen mode, size_t bufferSize = 4096);
  // Reads from a block of memory the caller keeps alive; no file.
  void OpenMemory(const void* data, size_t size);
  bool IsOpen() const;
  // Flushes pending output; false when that write failed.
  bool Close();

  // Reading. ReadByte gives -1 at the end or on a failure.
  int ReadByte();
  size_t Read(void* dst, size_t n);
  // One line of at most limit - 1 bytes, NUL-terminated: CR bytes are
  // dropped, the LF is kept and ends the line. False when no byte was read.
  bool ReadLine(char* line, size_t limit);

  // Writing. WriteString and Printf drop CR and write each LF as CR LF;
  // Printf formats through a 2048-byte buffer.
  bool WriteByte(uint8_t b);
  bool Write(const void* src, size_t n);
  bool WriteString(const char* text);
  bool Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool Flush();

  // Absolute position in the file (reading: drops the buffer).
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
