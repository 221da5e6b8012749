// SPDX-License-Identifier: MIT
// TDynaArray: a growable array of fixed-size raw records that writes the
// address of its current record into a cursor variable owned by the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessarin {

// Shows the text of a failed allocation. The default writes it to stderr; the
// desktop program sets a modal error box.
using DynaArrayMessageBox = void (*)(const std::string& text);
// Returns the handler that was in place. A null handler restores the default.
DynaArrayMessageBox SetDynaArrayMessageBox(DynaArrayMessageBox handler);

// Returns a zero-filled block of `bytes` bytes that std::free releases, or
// null when there is no memory. The default is std::calloc.
using DynaArrayAllocator = void* (*)(std::size_t bytes);
// Returns the allocator that was in place. A null allocator restores the
// default.
DynaArrayAllocator SetDynaArrayAllocator(DynaArrayAllocator allocator);

// The records are raw bytes: the array copies, moves and zero-fills them and
// never releases what a record refers to, so records must be trivially
// copyable types whose all-zero bytes are a valid value (null pointers, 0).
//
// Every positioning operation (GetObject, Add, Change, First, WhileNext)
// writes the address of the current record into the caller's cursor
// variable; Delete and Clear write null into it. Several arrays may share one
// cursor variable. Record addresses stay valid only until the next Add,
// Delete or Clear, which may move every record.
//
// Storage grows and shrinks in steps of `buffersize` (100) records. When a
// block cannot be allocated the failure text goes to the message box and the
// array keeps its previous block and contents: Add then adds nothing and
// returns null, a shrink keeps the larger block.
class TDynaArray {
 public:
  // `thesize` bytes per record; `typpoi` is the caller's cursor variable or
  // null. The cursor variable is not written here.
  template <class Record>
  TDynaArray(std::uint32_t thesize, Record** typpoi)
      : TDynaArray(thesize, static_cast<void*>(typpoi), typpoi ? &WriteCursor<Record> : nullptr) {}
  TDynaArray(std::uint32_t thesize, std::nullptr_t) : TDynaArray(thesize, nullptr, nullptr) {}
  explicit TDynaArray(std::uint32_t thesize) : TDynaArray(thesize, nullptr, nullptr) {}
  // Releases the block; neither the records' referents nor the cursor
  // variable are touched.
  virtual ~TDynaArray();

  TDynaArray(const TDynaArray&) = delete;
  TDynaArray& operator=(const TDynaArray&) = delete;

  // Makes record `Index` current and returns its address. `Index` must be
  // below count(); only debug builds check it.
  void* GetObject(std::uint32_t Index);
  // Appends a zero-filled record, makes it current and returns its address;
  // null when the storage could not grow (nothing was added).
  void* Add();
  // Removes record `nr` when 0 <= nr < count(), moving the later ones down;
  // leaves no current record. Otherwise nothing happens.
  void Delete(std::int32_t nr);
  // Swaps the bytes of records `nr1` and `nr2` when both are in range and
  // leaves `nr2` current. Otherwise nothing happens.
  void Change(std::int32_t nr1, std::int32_t nr2);
  // Removes all records and releases the block; no current record.
  void Clear();
  // Makes record 0 current when there are records; otherwise changes nothing.
  void First();
  // The iteration step: when 0 <= aobjnr() < count(), makes record aobjnr()
  // current, advances aobjnr() by one and returns true. So inside
  //   First(); while (WhileNext()) { ... }
  // aobjnr() is the index of the record in hand plus one.
  bool WhileNext();

  // Block adjustment after count went up: true when a new block is in place.
  bool AllocMoreMem();
  // Block adjustment after count went down.
  void AllocLessMem();

  std::uint32_t count() const { return count_; }
  // Index of the current record, -1 when there is none; one ahead inside an
  // iteration.
  std::int32_t aobjnr() const { return aobjnr_; }
  // The current record, null when there is none.
  void* aobj() const { return aobj_; }
  // The storage block, null when there is none.
  const void* poi() const { return poi_; }
  std::uint32_t amemsize() const { return amemsize_; }
  std::uint32_t buffersize() const { return buffersize_; }
  std::uint32_t size() const { return size_; }

 private:
  using CursorWriter = void (*)(void* variable, void* record);

  template <class Record>
  static void WriteCursor(void* variable, void* record) {
    *static_cast<Record**>(variable) = static_cast<Record*>(record);
  }

  TDynaArray(std::uint32_t thesize, void* typpoi, CursorWriter writer);

  // Bytes of the block for `records` records (>= 1), in whole growth steps.
  std::uint64_t BlockBytes(std::uint64_t records) const;
  unsigned char* Record(std::uint32_t index) const;
  void SetCurrent(std::int32_t index, void* record);
  // Allocates a zero-filled block or reports failure `failure` and returns
  // null.
  static unsigned char* NewBlock(std::uint64_t bytes, int failure);
  static void ReportFailure(std::uint64_t bytes, int failure);

  void* outeraobj_;
  CursorWriter writecursor_;
  void* aobj_ = nullptr;
  unsigned char* poi_ = nullptr;
  std::uint32_t count_ = 0;
  std::int32_t aobjnr_ = -1;
  std::uint32_t amemsize_ = 0;
  std::uint32_t buffersize_ = 100;
  std::uint32_t size_;
};

}  // namespace tessarin
