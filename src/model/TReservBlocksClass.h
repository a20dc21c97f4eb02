#pragma once
// The reserve image of every device block as last read from the device or a file or last
// written: the way back when an editor's changes are declined. Index policy: see TServClass.h.

#include "TProgFBClass.h"
#include "TServClass.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <cstring>

// Count images of Len bytes each, reached whole (as byte arrays) or byte by byte.
template <int Len, int Count> class ByteImages {
  public:
    static constexpr int ImageLen = Len;
    static constexpr int ImageCount = Count;

    QByteArray Get(int i) const {
        if (!Ok(i)) return {};
        return QByteArray(reinterpret_cast<const char*>(data_.data() + i * Len), Len);
    }
    // Refuses (false) an index out of range or fewer than Len bytes.
    bool Set(int i, const QByteArray& bytes) {
        return Set(i, reinterpret_cast<const uint8_t*>(bytes.constData()), int(bytes.size()));
    }
    bool Set(int i, const uint8_t* bytes, int size) {
        if (!Ok(i) || bytes == nullptr || size < Len) return false;
        std::memcpy(data_.data() + i * Len, bytes, Len);
        return true;
    }
    int GetByte(int i, int k) const { return Ok(i) && k >= 0 && k < Len ? data_[i * Len + k] : 0; }
    void SetByte(int i, int k, int v) {
        if (Ok(i) && k >= 0 && k < Len) data_[i * Len + k] = uint8_t(v);
    }
    void Fill(uint8_t v) { data_.fill(v); }

  private:
    static bool Ok(int i) { return i >= 0 && i < Count; }
    std::array<uint8_t, Len * Count> data_{};
};

class TReservBlocksClass {
  public:
    static constexpr int FbSlots = 121;
    static constexpr int AlgListLen = 120;

    TReservBlocksClass();

    // Function-block records.
    ByteImages<16, FbSlots>& FbRecords() { return fbRecords_; }
    const ByteImages<16, FbSlots>& FbRecords() const { return fbRecords_; }

    // Algorithm reserve: count, marks, rows of 120 list entries, and the 100-byte names.
    AlgTables<AlgListLen> AlgReserve;
    ByteImages<100, FbSlots>& AlgNames() { return algNames_; }
    const ByteImages<100, FbSlots>& AlgNames() const { return algNames_; }
    // Resets the algorithm reserve and blanks its names.
    void ResetAlgorithms();

    // Analogue modules: the 169-byte image of each module index and the eight module types.
    ByteImages<169, 8>& ModuleImages() { return modules_; }
    const ByteImages<169, 8>& ModuleImages() const { return modules_; }
    int GetModuleType(int m) const;
    void SetModuleType(int m, int v);

    // Block 10, the network descriptor.
    ByteImages<194, 1>& Block10() { return block10_; }
    const ByteImages<194, 1>& Block10() const { return block10_; }
    // The eight network scaling groups; group g at section offset 169·g.
    ByteImages<169, 8>& NetGroups() { return netGroups_; }
    const ByteImages<169, 8>& NetGroups() const { return netGroups_; }

    int GetDiscrInCount() const { return discrInCount_; }
    void SetDiscrInCount(int n) { discrInCount_ = n; }
    int GetAnInCount() const { return anInCount_; }
    void SetAnInCount(int n) { anInCount_ = n; }

    // The discrete-signal table, 192 records of 8 bytes.
    ByteImages<8, 192>& DiscreteTable() { return discrete_; }
    const ByteImages<8, 192>& DiscreteTable() const { return discrete_; }
    // The input names: 192 rows of 15 bytes, each holding the 14 characters of a name.
    ByteImages<15, 192>& Names() { return names_; }
    const ByteImages<15, 192>& Names() const { return names_; }
    // The 192 × 11 input texts.
    InputTextRow GetInputTextRow(int i) const;
    void SetInputTextRow(int i, const InputTextRow& row);

    // The Ф15 image (block 11).
    ByteImages<81, 1>& F15Image() { return f15_; }
    const ByteImages<81, 1>& F15Image() const { return f15_; }
    // The two loop tables (0 the loops, 1 the program set points), 2 records of 28 bytes each:
    // table t record r is image 2t + r.
    ByteImages<28, 4>& LoopRecords() { return loops_; }
    const ByteImages<28, 4>& LoopRecords() const { return loops_; }
    // Block 9, the relay modules.
    ByteImages<121, 1>& Block9() { return block9_; }
    const ByteImages<121, 1>& Block9() const { return block9_; }

  private:
    ByteImages<16, FbSlots> fbRecords_;
    ByteImages<100, FbSlots> algNames_;
    ByteImages<169, 8> modules_;
    std::array<int, 8> moduleTypes_{};
    ByteImages<194, 1> block10_;
    ByteImages<169, 8> netGroups_;
    int discrInCount_ = 0;
    int anInCount_ = 0;
    ByteImages<8, 192> discrete_;
    ByteImages<15, 192> names_;
    std::array<InputTextRow, 192> inputTexts_;
    ByteImages<81, 1> f15_;
    ByteImages<28, 4> loops_;
    ByteImages<121, 1> block9_;
};
