#pragma once
// Byte streams with a position and a size, as the document readers and
// writers use them, plus little-endian integer helpers.
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace quillet {

class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads or writes up to `count` bytes and answers how many were moved.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Answers the new position. A position before the start (or one that
  // overflows) raises EStreamError; positions past the end are allowed.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(int64_t size) = 0;
  virtual int64_t GetSize();

  int64_t GetPosition() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
  int64_t Remaining() { return GetSize() - GetPosition(); }

  // All or nothing: EReadError / EWriteError when fewer bytes move.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteString(const std::string& s) { WriteBuffer(s.data(), static_cast<int64_t>(s.size())); }
  // Copies `count` bytes from the source's position (the whole source when 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  // Growth beyond this raises EWriteError, so a hostile seek or size cannot
  // turn into an unbounded allocation.
  static constexpr int64_t MaxSize = int64_t(1) << 32;

  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  int64_t GetSize() override { return static_cast<int64_t>(data_.size()); }

  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::string AsString() const { return std::string(data_.begin(), data_.end()); }
  void Clear();
  void LoadFromStream(TStream& source);
  void SaveToStream(TStream& target);
  void LoadFromFile(const std::string& fileName);
  // Written to a temporary file beside the target, renamed over it only on success.
  void SaveToFile(const std::string& fileName);

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

enum TFileMode { fmOpenRead, fmOpenWrite, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
 public:
  // EFOpenError with the file name when the file cannot be opened or created.
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  int64_t GetSize() override;
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  int fd_ = -1;
};

// Little-endian integers; reading past the end raises EReadError.
uint8_t ReadU8(TStream& s);
int16_t ReadI16(TStream& s);
uint16_t ReadU16(TStream& s);
int32_t ReadI32(TStream& s);
uint32_t ReadU32(TStream& s);
int64_t ReadI64(TStream& s);
void WriteU8(TStream& s, uint8_t v);
void WriteI16(TStream& s, int16_t v);
void WriteU16(TStream& s, uint16_t v);
void WriteI32(TStream& s, int32_t v);
void WriteU32(TStream& s, uint32_t v);
void WriteI64(TStream& s, int64_t v);

}  // namespace quillet
