#include "setup/engine/buffered_file.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "setup/engine/archive_cipher.h"

struct BufferedFile::Impl {
  osfile::Handle file = osfile::kNoFile;
  bool isMemory = false;
  const uint8_t* memory = nullptr;
  size_t memorySize = 0;
  size_t memoryPos = 0;

  bool writing = false;
  bool failed = false;
  uint8_t* begin = nullptr;
  uint8_t* cur = nullptr;
  uint8_t* end = nullptr;
  size_t capacity = 0;
  uint64_t beginPos = 0;  // file offset of begin[0]
  ArchiveCipher* cipher = nullptr;

  bool IsOpen() const { return file != osfile::kNoFile || isMemory; }

  bool EnsureBuffer() {
    if (begin) return true;
    begin = new (std::nothrow) uint8_t[capacity];
    if (!begin) return false;
    cur = end = begin;
    return true;
  }

  // Read hook: the next bytes of the file or memory block, decrypted.
  bool ReadSource(uint8_t* dst, size_t n, size_t* got) {
    *got = 0;
    if (isMemory) {
      const size_t left = memorySize - memoryPos;
      *got = n < left ? n : left;
      if (*got) std::memcpy(dst, memory + memoryPos, *got);
      memoryPos += *got;
    } else if (!osfile::Read(file, dst, n, got)) {
      failed = true;
      return false;
    }
    if (cipher && *got) cipher->Crypt(dst, *got);
    return true;
  }

  // Refill hook: called when [cur, end) is empty.
  bool Refill() {
    if (writing || !IsOpen() || !EnsureBuffer()) return false;
    beginPos += uint64_t(end - begin);
    cur = end = begin;
    size_t got = 0;
    if (!ReadSource(begin, capacity, &got)) return false;
    end = begin + got;
    return got > 0;
  }

  // Flush hook: the write filter runs on the buffer just before the write.
  bool FlushBuffer() {
    if (!writing || cur == begin) return !failed;
    const size_t n = size_t(cur - begin);
    if (cipher) cipher->Crypt(begin, n);
    if (!failed && !osfile::Write(file, begin, n)) failed = true;
    beginPos += n;
    cur = begin;
    return !failed;
  }

  bool Put(const uint8_t* src, size_t n) {
    if (!writing || failed) return false;
    if (n >= capacity && !cipher) {
      // A block at least as large as the buffer goes out in one write.
      if (!FlushBuffer()) return false;
      if (!osfile::Write(file, src, n)) {
        failed = true;
        return false;
      }
      beginPos += n;
      return true;
    }
    if (!EnsureBuffer()) return false;
    while (n > 0) {
      size_t room = capacity - size_t(cur - begin);
      if (room == 0) {
        if (!FlushBuffer()) return false;
        room = capacity;
      }
      const size_t k = n < room ? n : room;
      std::memcpy(cur, src, k);
      cur += k;
      src += k;
      n -= k;
    }
    return true;
  }

  // Write with the text conversion: CR dropped, LF written as CR LF.
  bool PutText(const char* text, size_t n) {
    static const uint8_t kCrLf[2] = {'\r', '\n'};
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
      const char c = text[i];
      if (c != '\r' && c != '\n') continue;
      if (!Put(reinterpret_cast<const uint8_t*>(text + start), i - start)) return false;
      if (c == '\n' && !Put(kCrLf, 2)) return false;
      start = i + 1;
    }
    return Put(reinterpret_cast<const uint8_t*>(text + start), n - start);
  }
};

BufferedFile::BufferedFile() : impl_(new Impl) {}

BufferedFile::~BufferedFile() {
  Close();
  delete impl_;
}

bool BufferedFile::Open(const char* path, FileOpen mode, size_t bufferSize) {
  Close();
  Impl& f = *impl_;
  f.file = osfile::Open(path, mode);
  if (f.file == osfile::kNoFile) return false;
  f.writing = mode != FileOpen::ReadExisting;
  f.capacity = bufferSize ? bufferSize : 1;
  if (mode == FileOpen::AppendOpenAlways && !osfile::SeekEnd(f.file, &f.beginPos)) {
    Close();
    return false;
  }
  return true;
}

void BufferedFile::OpenMemory(const void* data, size_t size, size_t bufferSize) {
  Close();
  Impl& f = *impl_;
  f.isMemory = true;
  f.memory = static_cast<const uint8_t*>(data);
  f.memorySize = data ? size : 0;
  f.capacity = bufferSize ? bufferSize : 1;
}

bool BufferedFile::IsOpen() const { return impl_->IsOpen(); }

bool BufferedFile::Close() {
  Impl& f = *impl_;
  bool ok = true;
  if (f.writing) ok = f.FlushBuffer();
  if (f.failed) ok = false;
  osfile::Close(f.file);
  delete[] f.begin;
  delete f.cipher;
  f = Impl();
  return ok;
}

int BufferedFile::ReadByte() {
  Impl& f = *impl_;
  if (f.cur == f.end && !f.Refill()) return -1;
  return *f.cur++;
}

size_t BufferedFile::Read(void* dst, size_t n) {
  Impl& f = *impl_;
  if (f.writing || !f.IsOpen()) return 0;
  uint8_t* out = static_cast<uint8_t*>(dst);
  size_t done = 0;
  while (done < n) {
    if (f.cur == f.end) {
      if (n - done >= f.capacity) {
        // Large reads skip the buffer.
        f.beginPos += uint64_t(f.end - f.begin);
        f.cur = f.end = f.begin;
        size_t got = 0;
        if (!f.ReadSource(out + done, n - done, &got) || got == 0) break;
        f.beginPos += got;
        done += got;
        continue;
      }
      if (!f.Refill()) break;
    }
    const size_t have = size_t(f.end - f.cur);
    const size_t k = have < n - done ? have : n - done;
    std::memcpy(out + done, f.cur, k);
    f.cur += k;
    done += k;
  }
  return done;
}

bool BufferedFile::ReadLine(char* line, size_t limit) {
  if (limit == 0) return false;
  bool any = false;
  size_t n = 0;
  while (n + 1 < limit) {
    const int c = ReadByte();
    if (c < 0) break;
    any = true;
    if (c == '\r') continue;
    line[n++] = char(c);
    if (c == '\n') break;
  }
  line[n] = '\0';
  return any;
}

const uint8_t* BufferedFile::Peek(size_t* available) {
  Impl& f = *impl_;
  if (f.cur == f.end && !f.Refill()) {
    *available = 0;
    return f.cur;
  }
  *available = size_t(f.end - f.cur);
  return f.cur;
}

void BufferedFile::Consume(size_t n) {
  Impl& f = *impl_;
  if (f.writing) return;
  const size_t have = size_t(f.end - f.cur);
  f.cur += n < have ? n : have;
}

bool BufferedFile::Failed() const { return impl_->failed; }

bool BufferedFile::WriteByte(uint8_t b) { return impl_->Put(&b, 1); }

bool BufferedFile::Write(const void* src, size_t n) {
  return impl_->Put(static_cast<const uint8_t*>(src), n);
}

bool BufferedFile::WriteString(const char* text) { return impl_->PutText(text, std::strlen(text)); }

bool BufferedFile::Printf(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return false;
  if (size_t(n) >= sizeof text) n = int(sizeof text - 1);
  return impl_->PutText(text, size_t(n));
}

bool BufferedFile::Flush() { return impl_->FlushBuffer(); }

bool BufferedFile::SetLastWriteTime(uint64_t fileTime) {
  Impl& f = *impl_;
  if (f.file == osfile::kNoFile || !f.FlushBuffer()) return false;
  return osfile::SetLastWriteTime(f.file, fileTime);
}

bool BufferedFile::Seek(uint64_t offset) {
  Impl& f = *impl_;
  if (!f.IsOpen()) return false;
  if (f.writing && !f.FlushBuffer()) return false;
  if (f.isMemory) {
    if (offset > f.memorySize) return false;
    f.memoryPos = size_t(offset);
  } else if (!osfile::Seek(f.file, offset)) {
    return false;
  }
  f.beginPos = offset;
  f.cur = f.end = f.begin;
  return true;
}

uint64_t BufferedFile::Tell() const {
  const Impl& f = *impl_;
  return f.beginPos + uint64_t(f.cur - f.begin);
}

void BufferedFile::AttachCipher(ArchiveCipher* cipher) {
  Impl& f = *impl_;
  if (f.cipher != cipher) delete f.cipher;
  f.cipher = cipher;
  if (cipher && !f.writing && f.cur != f.end) cipher->Crypt(f.cur, size_t(f.end - f.cur));
}
