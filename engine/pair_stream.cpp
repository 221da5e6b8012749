// SPDX-License-Identifier: MIT
// Line splitting over a growing block buffer. The bytes of the current pair
// stay in place until the next pair starts, so both lines can be views.
#include "pair_stream.h"

#include <algorithm>

#include "pair_walk.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif
#include <cstring>

namespace tessarin {

namespace {
constexpr size_t kBlock = 1 << 20;
constexpr char kEndOfFile = 0x1A;
}  // namespace

// Small inputs get a small buffer: a run over a few kilobytes should not
// clear a megabyte first.
PairReader::PairReader(ByteSource& source)
    : source_(source),
      block_(source.Size() == 0
                 ? kBlock
                 : std::clamp<size_t>(static_cast<size_t>(source.Size()) + 1, 4096, kBlock)) {
  buffer_.resize(block_ + kPadding);
}

bool PairReader::AtEnd() {
  if (next_ < end_ || lookaheadSize_ > 0) return false;
  // Fetch into a side block: moving buffer_ would break the last pair's views.
  if (lookahead_.empty()) lookahead_.resize(block_ / 4 + 1);
  lookaheadSize_ = ReadBlock(lookahead_.data(), lookahead_.size());
  return lookaheadSize_ == 0;
}

size_t PairReader::ReadBlock(char* to, size_t size) {
  if (exhausted_) return 0;
  const size_t n = source_.Read(to, size);
  if (n == 0) {
    exhausted_ = true;
    return 0;
  }
  const void* stop = std::memchr(to, kEndOfFile, n);
  if (stop == nullptr) return n;
  exhausted_ = true;
  return static_cast<size_t>(static_cast<const char*>(stop) - to);
}

bool PairReader::Fill() {
  // Keep the current pair, drop what lies before it.
  if (pairStart_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pairStart_, end_ - pairStart_);
    next_ -= pairStart_;
    end_ -= pairStart_;
    pairStart_ = 0;
  }
  if (lookaheadSize_ > 0) {
    if (Room() - end_ < lookaheadSize_) buffer_.resize(end_ + lookaheadSize_ + block_ + kPadding);
    std::memcpy(buffer_.data() + end_, lookahead_.data(), lookaheadSize_);
    end_ += lookaheadSize_;
    lookaheadSize_ = 0;
    return true;
  }
  if (Room() - end_ < block_ / 2) buffer_.resize(std::max(Room() * 2, end_ + block_) + kPadding);
  const size_t n = ReadBlock(buffer_.data() + end_, Room() - end_);
  end_ += n;
  return n > 0;
}

PairReader::Line PairReader::ReadLineSlow() {
  if (next_ == end_ && !Fill()) return {next_ - pairStart_, 0};
  size_t lineStart = next_;
  size_t scanFrom = next_;
  for (;;) {
    const void* lf = std::memchr(buffer_.data() + scanFrom, '\n', end_ - scanFrom);
    if (lf != nullptr) {
      const size_t at = static_cast<size_t>(static_cast<const char*>(lf) - buffer_.data());
      consumed_ += at + 1 - next_;
      next_ = at + 1;
      break;
    }
    // No line end in the buffer: fetch more, or take the rest as last line.
    const size_t offset = lineStart - pairStart_;
    const size_t scanned = end_ - lineStart;
    const bool more = Fill();
    lineStart = pairStart_ + offset;  // Fill may have moved the bytes
    scanFrom = lineStart + scanned;
    if (!more) {
      consumed_ += end_ - next_;
      next_ = end_;
      break;
    }
  }
  // The line runs from lineStart to the LF (or the end); drop every CR in it.
  size_t lineEnd = next_;
  if (lineEnd > lineStart && buffer_[lineEnd - 1] == '\n') --lineEnd;
  char* first = buffer_.data() + lineStart;
  char* last = buffer_.data() + lineEnd;
  if (std::memchr(first, '\r', static_cast<size_t>(last - first)) != nullptr) {
    last = std::remove(first, last, '\r');
  }
  return {lineStart - pairStart_, static_cast<size_t>(last - first)};
}

PairWriter::PairWriter(ByteSink& sink) : sink_(sink), buffer_(new char[kFlushAt + kSlack]) {}

PairWriter::~PairWriter() { Flush(); }

void PairWriter::WriteLong(std::string_view line) {
  Flush();
  if (line.size() + 2 <= kFlushAt) {
    WriteLine(line);
    return;
  }
  if (!failed_ && !(sink_.Write(line) && sink_.Write("\r\n"))) failed_ = true;
}

void PairWriter::WriteRaw(std::string_view bytes) {
  if (used_ + bytes.size() > kFlushAt) Flush();
  if (bytes.size() > kFlushAt) {
    if (!failed_ && !sink_.Write(bytes)) failed_ = true;
    return;
  }
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

namespace {

// Whether every LF of `lines` follows a CR (and, as WriteLines requires, no
// other CR occurs): then the bytes are their own output.
bool AllCrLf(std::string_view lines) {
  bool crAtBlockEnd = false;  // the byte before the block is a CR
  for (size_t block = 0; block < lines.size(); block += 64) {
    uint64_t lf, cr;
    detail::LineMasks(lines.data() + block, lf, cr);
    if (lines.size() - block < 64) lf &= detail::BitsBelow(lines.size() - block);
    const uint64_t crBefore = (cr << 1) | static_cast<uint64_t>(crAtBlockEnd);
    if ((lf & ~crBefore) != 0) return false;
    crAtBlockEnd = (cr >> 63) != 0;
  }
  return true;
}

#if defined(__x86_64__) || defined(__i386__)
// Shuffles that put a CR (byte 8 of the source, see ExpandLineFeeds) before
// each LF of 8 input bytes, and the length of the result.
struct ExpandTables {
  alignas(16) uint8_t shuffle[256][16];
  uint8_t size[256];
  constexpr ExpandTables() : shuffle(), size() {
    for (int mask = 0; mask < 256; ++mask) {
      int out = 0;
      for (int j = 0; j < 8; ++j) {
        if ((mask >> j) & 1) shuffle[mask][out++] = 8;
        shuffle[mask][out++] = static_cast<uint8_t>(j);
      }
      size[mask] = static_cast<uint8_t>(out);
      for (; out < 16; ++out) shuffle[mask][out] = 0x80;
    }
  }
};
constexpr ExpandTables kExpand;

// Lines without any CR: each LF becomes CR LF, 8 bytes at a time. Writes
// up to 16 bytes past the returned length.
__attribute__((target("ssse3"))) size_t ExpandLineFeeds(const char* in, size_t n, char* out) {
  const __m128i crs = _mm_set1_epi8('\r');
  const __m128i lfs = _mm_set1_epi8('\n');
  size_t o = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i bytes =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + i)), crs);
    const unsigned mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lfs))) & 0xFF;
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(kExpand.shuffle[mask]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), _mm_shuffle_epi8(bytes, shuffle));
    o += kExpand.size[mask];
  }
  for (; i < n; ++i) {
    if (in[i] == '\n') out[o++] = '\r';
    out[o++] = in[i];
  }
  return o;
}

bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}
#endif

}  // namespace

void PairWriter::WriteLines(std::string_view lines) {
  // Most drawings end every line alike: CR LF lines are copied as they
  // stand, LF lines get their CR in bulk.
  if (std::memchr(lines.data(), '\r', lines.size()) == nullptr) {
#if defined(__x86_64__) || defined(__i386__)
    if (HasSsse3()) {
      // Chunks whose expansion (at most twice the size) fits the buffer.
      for (size_t done = 0; done < lines.size();) {
        if (used_ + 2 * 4096 + kSlack > kFlushAt) Flush();
        const size_t size = std::min<size_t>(4096, lines.size() - done);
        used_ += ExpandLineFeeds(lines.data() + done, size, buffer_.get() + used_);
        done += size;
      }
      return;
    }
#endif
  } else if (AllCrLf(lines)) {
    WriteRaw(lines);
    return;
  }
  WriteLinesOneByOne(lines);
}

void PairWriter::WriteLinesOneByOne(std::string_view lines) {
  const char* in = lines.data();
  const size_t n = lines.size();
  size_t segment = 0;  // start of the bytes not yet copied
  for (size_t block = 0; block < n; block += 64) {
    // Room for the block with a CR added before each of its LFs.
    if (used_ + 128 > kFlushAt) Flush();
    uint64_t lf, cr;
    detail::LineMasks(in + block, lf, cr);
    const size_t size = std::min<size_t>(64, n - block);
    if (size < 64) lf &= (uint64_t{1} << size) - 1;
    char* out = buffer_.get();
    while (lf != 0) {
      const size_t e = block + static_cast<size_t>(__builtin_ctzll(lf));
      lf &= lf - 1;
      const size_t end = (e > segment && in[e - 1] == '\r') ? e - 1 : e;
      // 16-byte moves: the input has padding after it, the buffer slack.
      for (size_t k = segment; k < end; k += 16)
        std::memcpy(out + used_ + (k - segment), in + k, 16);
      used_ += end - segment;
      out[used_++] = '\r';
      out[used_++] = '\n';
      segment = e + 1;
    }
    // The rest of the block belongs to a line that ends in a later block;
    // a CR at its very end may be that line's CR LF and waits.
    size_t blockEnd = block + size;
    if (blockEnd > segment && in[blockEnd - 1] == '\r') --blockEnd;
    if (segment < blockEnd) {
      std::memcpy(out + used_, in + segment, blockEnd - segment);
      used_ += blockEnd - segment;
      segment = blockEnd;
    }
  }
}

bool PairWriter::Flush() {
  if (used_ > 0 && !failed_ && !sink_.Write({buffer_.get(), used_})) failed_ = true;
  used_ = 0;
  return !failed_;
}

}  // namespace tessarin
