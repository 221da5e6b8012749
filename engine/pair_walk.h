// SPDX-License-Identifier: MIT
// The bulk path of the pair stream: whole pairs in the reader's buffer are
// passed 64 bytes at a time by bit masks, and only the pairs whose code is
// one watched character are looked at one by one.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pair_stream.h"

namespace tessarin {

namespace detail {

// Bit i tells whether byte i of the 64 at `p` is LF, CR, at most 0x20, or
// one of the (up to three) watched characters.
struct BlockMasks {
  uint64_t lf = 0, cr = 0, low = 0, watched = 0;
};

inline BlockMasks ClassifyBlock(const char* p, std::string_view watch) {
  BlockMasks m;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i blank = _mm_set1_epi8(0x20);
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const auto bits = [k](__m128i eq) {
      return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(eq))) << (16 * k);
    };
    m.lf |= bits(_mm_cmpeq_epi8(v, lf));
    m.cr |= bits(_mm_cmpeq_epi8(v, cr));
    m.low |= bits(_mm_cmpeq_epi8(_mm_max_epu8(v, blank), blank));  // unsigned v <= 0x20
    __m128i any = _mm_setzero_si128();
    for (char c : watch) any = _mm_or_si128(any, _mm_cmpeq_epi8(v, _mm_set1_epi8(c)));
    m.watched |= bits(any);
  }
#else
  for (int i = 0; i < 64; ++i) {
    const auto b = static_cast<unsigned char>(p[i]);
    m.lf |= static_cast<uint64_t>(b == '\n') << i;
    m.cr |= static_cast<uint64_t>(b == '\r') << i;
    m.low |= static_cast<uint64_t>(b <= 0x20) << i;
    m.watched |= static_cast<uint64_t>(watch.find(static_cast<char>(b)) != std::string_view::npos)
                 << i;
  }
#endif
  return m;
}

// Bit i of `lf` / `cr` tells whether byte i of the 64 at `p` is LF / CR.
inline void LineMasks(const char* p, uint64_t& lf, uint64_t& cr) {
#if defined(__SSE2__)
  const __m128i lfs = _mm_set1_epi8('\n');
  const __m128i crs = _mm_set1_epi8('\r');
  lf = 0;
  cr = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    lf |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lfs))))
          << (16 * k);
    cr |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, crs))))
          << (16 * k);
  }
#else
  lf = 0;
  cr = 0;
  for (int i = 0; i < 64; ++i) {
    lf |= static_cast<uint64_t>(p[i] == '\n') << i;
    cr |= static_cast<uint64_t>(p[i] == '\r') << i;
  }
#endif
}

// Bit i of the result is the parity of bits 0 to i of x.
inline uint64_t PrefixXor(uint64_t x) {
  x ^= x << 1;
  x ^= x << 2;
  x ^= x << 4;
  x ^= x << 8;
  x ^= x << 16;
  x ^= x << 32;
  return x;
}

inline size_t LowestBit(uint64_t x) { return static_cast<size_t>(__builtin_ctzll(x)); }
inline size_t HighestBit(uint64_t x) { return 63 - static_cast<size_t>(__builtin_clzll(x)); }
inline uint64_t BitsBelow(size_t i) { return i >= 64 ? ~uint64_t{0} : (uint64_t{1} << i) - 1; }

}  // namespace detail

struct WalkResult {
  size_t bytes = 0;  // offset just after the last whole pair passed
};

// Walks the whole pairs at the start of `bytes`, which starts at a pair and
// is followed by at least 64 readable bytes (PairReader::kPadding).
// - For each pair whose trimmed code is one character of `watch` (at most
//   three), in order, pair(code, value, pairStart, pairNext) is called with
//   the lines as ReadPair would give them; when it returns false the walk
//   stops before that pair.
// - For each 64-byte block, codeLines(firstNext, lastNext) gets the offsets
//   just after the first and the last code line that ends in the block (and
//   before a stop); between them no code line ends in another 128-byte block
//   that is not one of theirs.
// The walk also stops before a pair that does not lie wholly in `bytes`, and
// before a block holding a CR that is not followed by LF: such lines are left
// to PairReader::ReadPair, which drops the CR.
template <typename OnPair, typename OnCodeLines>
WalkResult WalkPairs(std::string_view bytes, std::string_view watch, OnPair&& pair,
                     OnCodeLines&& codeLines) {
  using namespace detail;
  const char* data = bytes.data();
  const size_t n = bytes.size();
  WalkResult result;
  bool oddLine = false;        // an odd number of lines ended before the block
  bool lowBeforeBlock = true;  // the byte before the block is at most 0x20
  size_t lastLf = SIZE_MAX;    // offset of the last LF before the block

  for (size_t block = 0; block < n; block += 64) {
    BlockMasks m = ClassifyBlock(data + block, watch);
    const bool partial = n - block < 64;
    const uint64_t valid = partial ? BitsBelow(n - block) : ~uint64_t{0};
    m.lf &= valid;
    m.cr &= valid;

    // A CR not followed by LF: leave that part to ReadPair.
    uint64_t lone = m.cr & ~(m.lf >> 1);
    if ((lone >> 63) != 0 && block + 64 < n && data[block + 64] == '\n')
      lone &= ~(uint64_t{1} << 63);
    if (lone != 0) return result;

    // Line parity of every byte: lines of even number are code lines.
    const uint64_t through = PrefixXor(m.lf);  // parity of the LFs up to each byte
    const uint64_t before = through ^ m.lf;    // ... and before it
    const uint64_t codeBytes = ~(before ^ (oddLine ? ~uint64_t{0} : 0));
    const uint64_t codeLfs = m.lf & codeBytes;
    const uint64_t valueLfs = m.lf & ~codeBytes;

    // Watched single characters with blanks, CR or LF on both sides.
    const bool lowAfterBlock = static_cast<unsigned char>(data[block + 64]) <= 0x20;
    const uint64_t lowLeft = (m.low << 1) | static_cast<uint64_t>(lowBeforeBlock);
    const uint64_t lowRight = (m.low >> 1) | (static_cast<uint64_t>(lowAfterBlock) << 63);
    uint64_t candidates = m.watched & lowLeft & lowRight & codeBytes & valid;

    size_t stopAt = SIZE_MAX;  // offset of a pair the walk stops before
    while (candidates != 0) {
      const size_t at = LowestBit(candidates);
      candidates &= candidates - 1;
      const uint64_t lfsBelow = m.lf & BitsBelow(at);
      const size_t lineStart =
          lfsBelow != 0 ? block + HighestBit(lfsBelow) + 1 : (lastLf == SIZE_MAX ? 0 : lastLf + 1);
      // Its code line and value line, up to their LFs: mostly the next two
      // LFs of the block.
      const uint64_t lfsAbove = m.lf & ~BitsBelow(at);
      size_t codeEnd, valueEnd;
      if ((lfsAbove & (lfsAbove - 1)) != 0) {
        codeEnd = block + LowestBit(lfsAbove);
        valueEnd = block + LowestBit(lfsAbove & (lfsAbove - 1));
      } else {
        const void* codeLf = std::memchr(data + block + at, '\n', n - block - at);
        const void* valueLf =
            codeLf == nullptr
                ? nullptr
                : std::memchr(static_cast<const char*>(codeLf) + 1, '\n',
                              n - static_cast<size_t>(static_cast<const char*>(codeLf) - data) - 1);
        if (valueLf == nullptr) {
          stopAt = lineStart;
          break;
        }
        codeEnd = static_cast<size_t>(static_cast<const char*>(codeLf) - data);
        valueEnd = static_cast<size_t>(static_cast<const char*>(valueLf) - data);
      }
      const auto line = [data](size_t from, size_t lf) {
        const size_t end = (lf > from && data[lf - 1] == '\r') ? lf - 1 : lf;
        return std::string_view(data + from, end - from);
      };
      const std::string_view code = line(lineStart, codeEnd);
      const std::string_view trimmed = TrimDxf(code);
      if (trimmed.size() != 1) continue;
      // Lines with a lone CR never get here: a later block holding one
      // stops the walk before this pair is counted as passed.
      const std::string_view value = line(codeEnd + 1, valueEnd);
      if (valueEnd + 1 > block + 64) {
        // The value reaches into a later block; make sure no lone CR lies
        // in it before handing it out.
        const std::string_view tail(data + block + 64, valueEnd + 1 - (block + 64));
        bool clean = true;
        for (size_t i = 0; i + 1 < tail.size(); ++i) {
          if (tail[i] == '\r' && tail[i + 1] != '\n') clean = false;
        }
        if (!clean) {
          stopAt = lineStart;
          break;
        }
      }
      if (!pair(code, value, lineStart, valueEnd + 1)) {
        stopAt = lineStart;
        break;
      }
    }

    // Report the code lines before any stop. A stop is at a pair start: the
    // pairs before it have been passed.
    if (stopAt != SIZE_MAX) {
      const uint64_t codeSeen = stopAt > block ? codeLfs & BitsBelow(stopAt - block) : 0;
      if (codeSeen != 0)
        codeLines(block + LowestBit(codeSeen) + 1, block + HighestBit(codeSeen) + 1);
      result.bytes = stopAt;
      return result;
    }
    if (codeLfs != 0) codeLines(block + LowestBit(codeLfs) + 1, block + HighestBit(codeLfs) + 1);
    if (valueLfs != 0) result.bytes = block + HighestBit(valueLfs) + 1;
    oddLine ^= (through >> 63) != 0;
    lowBeforeBlock = (m.low >> 63) != 0;
    if (m.lf != 0) lastLf = block + HighestBit(m.lf);
  }
  return result;
}

}  // namespace tessarin
