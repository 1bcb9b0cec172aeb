#include "platform/core/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

namespace quillet {

namespace {

constexpr int64_t kCopyChunk = 64 * 1024;
// Largest single read(2)/write(2) request; the kernel caps it near this anyway.
constexpr int64_t kIoChunk = int64_t(1) << 30;

[[noreturn]] void ThrowReadError() { throw EReadError("Stream read error"); }
[[noreturn]] void ThrowWriteError() { throw EWriteError("Stream write error"); }

std::string ErrnoText(int err) { return std::strerror(err); }

std::string OpenErrorText(const char* verb, const std::string& fileName, int err) {
  return std::string("Cannot ") + verb + " file \"" + fileName + "\". " + ErrnoText(err);
}

// Position arithmetic for Seek, refusing results that are negative or overflow.
int64_t SeekTarget(int64_t base, int64_t offset) {
  int64_t target = 0;
  if (__builtin_add_overflow(base, offset, &target) || target < 0)
    throw EStreamError("Invalid stream position");
  return target;
}

// Writes the whole buffer, retrying partial writes and interrupted calls.
bool WriteAll(int fd, const uint8_t* p, size_t n, int& err) {
  while (n > 0) {
    size_t chunk = n > static_cast<size_t>(kIoChunk) ? static_cast<size_t>(kIoChunk) : n;
    ssize_t w = ::write(fd, p, chunk);
    if (w < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    if (w == 0) {
      err = EIO;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is saved through: the file it names is replaced, the link stays.
std::string ResolveSaveTarget(const std::string& fileName) {
  struct stat st {};
  if (::lstat(fileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(fileName.c_str(), nullptr)) {
      std::string resolved(real);
      ::free(real);
      return resolved;
    }
  }
  return fileName;
}

}  // namespace

// ---------------------------------------------------------------- TStream

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0) ThrowReadError();
  if (count == 0) return;
  if (Read(buffer, count) != count) ThrowReadError();
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0) ThrowWriteError();
  if (count == 0) return;
  if (Write(buffer, count) != count) ThrowWriteError();
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count < 0) ThrowReadError();
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  std::vector<uint8_t> buffer(static_cast<size_t>(count < kCopyChunk ? count : kCopyChunk));
  int64_t left = count;
  while (left > 0) {
    int64_t n = left < kCopyChunk ? left : kCopyChunk;
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

// ---------------------------------------------------------------- TMemoryStream

// The memory stream's own operations use the vector's size, never the virtual
// GetSize, so a subclass cannot make them reach outside the buffer.
int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const auto size = static_cast<int64_t>(data_.size());
  if (count <= 0 || pos_ >= size) return 0;
  int64_t n = size - pos_ < count ? size - pos_ : count;
  std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = 0;
  if (__builtin_add_overflow(pos_, count, &end) || end > MaxSize) ThrowWriteError();
  if (end > static_cast<int64_t>(data_.size())) {
    try {
      data_.resize(static_cast<size_t>(end));
    } catch (const std::bad_alloc&) {
      ThrowWriteError();
    }
  }
  std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
  pos_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::soBeginning: pos_ = SeekTarget(0, offset); break;
    case TSeekOrigin::soCurrent: pos_ = SeekTarget(pos_, offset); break;
    case TSeekOrigin::soEnd: pos_ = SeekTarget(static_cast<int64_t>(data_.size()), offset); break;
  }
  return pos_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || size > MaxSize) ThrowWriteError();
  try {
    data_.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    ThrowWriteError();
  }
  if (pos_ > size) pos_ = size;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  int64_t size = source.GetSize();
  if (size < 0 || size > MaxSize) ThrowReadError();
  // Read into a scratch buffer so that a failed load leaves the contents as they were.
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    ThrowReadError();
  }
  source.ReadBuffer(bytes.data(), size);
  data_ = std::move(bytes);
  pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) {
  target.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
  const std::string target = ResolveSaveTarget(fileName);
  const std::string dir = DirectoryOf(target);
  const std::string base = BaseNameOf(target);

  // The temporary file gets the umask's mode like any new file; an existing
  // file's permissions carry over to its replacement.
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) throw EFOpenError(OpenErrorText("create", fileName, EISDIR));

  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = dir + "/." + base + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw EFOpenError(OpenErrorText("create", fileName, errno));

  int err = 0;
  bool ok = WriteAll(fd, data_.data(), data_.size(), err);
  // Not fatal: the content is what matters, the mode is a courtesy.
  if (ok && replacing) (void)::fchmod(fd, old.st_mode & 07777);
  if (ok && ::fsync(fd) != 0) {
    err = errno;
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    err = errno;
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    err = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    throw EWriteError("Cannot write file \"" + fileName + "\". " + ErrnoText(err));
  }
}

// ---------------------------------------------------------------- TFileStream

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : fileName_(fileName) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case fmOpenRead: flags |= O_RDONLY; break;
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    case fmCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  const char* verb = mode == fmCreate ? "create" : "open";
  do {
    fd_ = ::open(fileName.c_str(), flags, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) throw EFOpenError(OpenErrorText(verb, fileName, errno));
  // A directory opens read-only on Linux but cannot be read; refuse it here.
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw EFOpenError(OpenErrorText(verb, fileName, EISDIR));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  auto* p = static_cast<uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count) {
    int64_t chunk = count - done < kIoChunk ? count - done : kIoChunk;
    ssize_t r = ::read(fd_, p + done, static_cast<size_t>(chunk));
    if (r < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Stream read error. " + ErrnoText(errno));
    }
    if (r == 0) break;
    done += r;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int err = 0;
  if (!WriteAll(fd_, static_cast<const uint8_t*>(buffer), static_cast<size_t>(count), err))
    throw EWriteError("Stream write error. " + ErrnoText(err));
  return count;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (r < 0) throw EStreamError("Invalid stream position");
  return static_cast<int64_t>(r);
}

int64_t TFileStream::GetSize() {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) throw EStreamError("Stream size error. " + ErrnoText(errno));
  return static_cast<int64_t>(st.st_size);
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0) ThrowWriteError();
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) throw EWriteError("Stream write error. " + ErrnoText(errno));
  // Keep the position inside the file, as the memory stream does.
  if (Seek(0, TSeekOrigin::soCurrent) > size) Seek(size, TSeekOrigin::soBeginning);
}

// ---------------------------------------------------------------- little-endian helpers

namespace {

template <typename T>
T ReadLE(TStream& s) {
  uint8_t b[sizeof(T)];
  s.ReadBuffer(b, sizeof(T));
  std::make_unsigned_t<T> v = 0;
  for (size_t i = sizeof(T); i-- > 0;) v = static_cast<std::make_unsigned_t<T>>((v << 8) | b[i]);
  return static_cast<T>(v);
}

template <typename T>
void WriteLE(TStream& s, T value) {
  auto v = static_cast<std::make_unsigned_t<T>>(value);
  uint8_t b[sizeof(T)];
  for (size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
  s.WriteBuffer(b, sizeof(T));
}

}  // namespace

uint8_t ReadU8(TStream& s) { return ReadLE<uint8_t>(s); }
int16_t ReadI16(TStream& s) { return ReadLE<int16_t>(s); }
uint16_t ReadU16(TStream& s) { return ReadLE<uint16_t>(s); }
int32_t ReadI32(TStream& s) { return ReadLE<int32_t>(s); }
uint32_t ReadU32(TStream& s) { return ReadLE<uint32_t>(s); }
int64_t ReadI64(TStream& s) { return ReadLE<int64_t>(s); }
void WriteU8(TStream& s, uint8_t v) { WriteLE(s, v); }
void WriteI16(TStream& s, int16_t v) { WriteLE(s, v); }
void WriteU16(TStream& s, uint16_t v) { WriteLE(s, v); }
void WriteI32(TStream& s, int32_t v) { WriteLE(s, v); }
void WriteU32(TStream& s, uint32_t v) { WriteLE(s, v); }
void WriteI64(TStream& s, int64_t v) { WriteLE(s, v); }

}  // namespace quillet
