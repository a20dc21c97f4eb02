#pragma once
// The function blocks (up to 120 records of 16 bytes, plus one spare record), the block and
// text pages of the transfer, the calculation-block counters, the editor state and the
// algorithm tables. Index policy: see TServClass.h.
//
// Record layout (FBRecord):
//   byte 0       bits 0-3 type, bits 4-7 subtype (timer type, trigger kind, calculation op)
//   bytes 1..8   inputs 1..4: input j is bytes 1 + 2j (bit 3 direct, bits 0-2 source kind)
//                and 2 + 2j (source number, 0 = none)
//   timer T5     alarm second byte 3, minute byte 4, hour byte 5 bits 2-7
//   timer, comparator: time unit byte 5 bits 0-1, time set point byte 6
//   comparator   byte 1 bits 0-6 operand X1, bit 7 its source; set point Float24 at 2..4;
//                byte 5 bit 7 condition, bits 2-6 hysteresis; its discrete input bytes 7..8
//   counter      set point 0..31: bits 0-3 in byte 1 bits 4-7, bit 4 in byte 3 bit 4
//   byte 9       signalling: bits 6-7 type, bit 5 archiving, bits 0-4 light-board cell
//   bytes 10..14 relay mask of relay modules 1..5
// Calculation records (type 12): integrator numbers at bytes 1..12, byte 13, day-start hour at
// byte 14; arithmetic X1 at byte 1, C1 at 2..4, X2 at byte 5, C2 at 6..8, Y at byte 6 or 9.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

// A scheme link record of a built panel: a reserved word, Left, Top, row, column, and the
// numbers of the function blocks feeding inputs 1..4.
struct FBLinkRecord {
    std::array<int, 9> w{};
};

// The state of the function-block editor kept with the table.
struct FBEditorState {
    static constexpr int Slots = 121;
    int PanelCount = 0;
    std::array<int, Slots> PanelOrder{};
    std::array<FBLinkRecord, Slots> Links{};
    int SelectedPanel = -1;
    int SelectedIndex = -1;
    int PopupTarget = -1;
    std::array<int, Slots> Chosen{};
    std::array<int, Slots> HasRelay{};
    std::array<int, Slots> HasSign{};
    int ChosenCount = 0;
    int QuietInform = 0;
    int SchemeNonEmpty = 0;
    int EditMode = 0; // 0 create, 1 edit, 2 insert before, 3 append after
    int InsertBefore = 0;
    int RebuildPending = 0;
};

// The algorithm tables: the count, the word after it, a first-block mark per block index
// (the block's own number when it starts an algorithm's list, else 255), and per algorithm a
// list of ListLen block numbers (255 ends a list).
template <int ListLen> class AlgTables {
  public:
    static constexpr int Slots = 121;
    static constexpr int End = 255;

    AlgTables() { Reset(); }
    int GetCount() const { return count_; }
    void SetCount(int n) { count_ = n; }
    int GetCountNext() const { return countNext_; }
    void SetCountNext(int n) { countNext_ = n; }
    int GetMark(int b) const { return Ok(b, Slots) ? marks_[b] : 0; }
    void SetMark(int b, int v) {
        if (Ok(b, Slots)) marks_[b] = v;
    }
    int GetEntry(int a, int j) const { return Ok(a, Slots) && Ok(j, ListLen) ? lists_[a][j] : 0; }
    void SetEntry(int a, int j, int v) {
        if (Ok(a, Slots) && Ok(j, ListLen)) lists_[a][j] = v;
    }
    // Count and the word after it 0, marks and entries 255.
    void Reset() {
        count_ = 0;
        countNext_ = 0;
        marks_.fill(End);
        for (auto& row : lists_)
            row.fill(End);
    }

  private:
    static bool Ok(int i, int n) { return i >= 0 && i < n; }
    int count_ = 0;
    int countNext_ = 0;
    std::array<int, Slots> marks_{};
    std::array<std::array<int, ListLen>, Slots> lists_{};
};

class TProgFBClass {
  public:
    static constexpr int FBCapacity = 120;
    static constexpr int Slots = FBCapacity + 1;
    static constexpr int RecordLen = 16;
    static constexpr int RecordsPerBlock = 10;
    static constexpr int PageBytes = RecordsPerBlock * RecordLen; // 160
    static constexpr int TextLen = 100;
    static constexpr int TextPageBytes = RecordsPerBlock * TextLen; // 1000
    static constexpr int AlgEnd = AlgTables<Slots>::End;

    // Block type codes (low nibble of record byte 0) the editor and the table treat specially.
    static constexpr int TypeTimer = 6;
    static constexpr int TypeTrigger = 7;
    static constexpr int TypeComparator = 8;
    static constexpr int TypeCounter = 9;
    static constexpr int TypeCalc = 12;
    // Discrete and analogue signal numbers run 1..MaxSignal.
    static constexpr int MaxSignal = 192;
    static constexpr int ReplyDataOffset = 4;

    // The discrete inputs of a block of this type: 4 for AND, NAND, OR, NOR, trigger and counter,
    // 2 for hysteresis and timers (1 for timer subtype 5), 1 for a comparator, 0 for the rest.
    static int FBInputCount(int type, int subtype);

    TProgFBClass();

    int FBCount = FBCapacity; // 120, or 60 for a 60-block device
    int BlockLengthByte = PageBytes + 1;
    int IntegratorCount = 0; // 0..2
    int ArithBlockCount = 0; // 0..24
    int CalcAction = 0;      // 0..3
    int CalcBlockIndex = -1; // -1 or 0..23
    int MathMenuBlock = -1;  // the overview's right-clicked slot 0..23, -1 none
    int FBModified = 0;
    int FBModifiedSave = 0;
    int FBInformFillOnly = 0;
    int FBRenumbered = 0; // block inputs were renumbered: the function blocks must be written
    FBEditorState EditorState;

    // Two numbers kept apart. LogicFBCount: the logic records from index 0 up to the first
    // record of another type, which is the index of the first calculation record and the count
    // of panels a rebuild builds. The logic-block limit: how many logic blocks the table may
    // hold, FBCount less the calculation blocks; the capacity checks of creating, inserting and
    // copying use it. RecountLogicFBLimit derives the limit from FBCount, IntegratorCount and
    // ArithBlockCount; RecountTable derives all of them from the records, and every table edit
    // runs it.
    int LogicFBCount = 0;
    int GetLogicFBLimit() const { return logicFBLimit_; }
    void RecountLogicFBLimit();
    void RecountTable();

    // The calculation records counted after the logic records from index `from`: integrators
    // (operation 0) and arithmetic blocks, at most 26 records on and not past index 119.
    struct CalcCounts {
        int integrators = 0;
        int arithBlocks = 0;
    };
    CalcCounts CountCalcRecords(int from) const;
    // The highest function-block-output or КВУ number an input may hold.
    int KvuLimit() const { return FBCount >= FBCapacity ? 184 : 120; }

    // Whole records and raw bytes (records 0..120).
    int GetRecByte(int i, int k) const;
    void SetRecByte(int i, int k, int value);
    std::array<uint8_t, RecordLen> GetRecord(int i) const;
    void SetRecord(int i, const std::array<uint8_t, RecordLen>& rec);
    void ClearRecord(int i);
    // Moves count records from `from` to `to` (overlap allowed), within the first FBCount.
    void MoveRecords(int from, int to, int count);

    // Transfer. The page holds one function-block block: TakeBlockData takes the 160 data bytes
    // after the block number (false for fewer), TakeBlockFromReply the same from a 'D' reply.
    bool TakeBlockData(std::span<const uint8_t> data);
    bool TakeBlockFromReply(const uint8_t* reply, int size);
    void BlockToFbs(int n);
    void FbsToBlock(int n);
    int GetPageByte(int k) const;
    const uint8_t* Page() const { return page_.data(); }
    bool TakeTextBlockFromBuf(const uint8_t* buf, int size);
    void TextBlockToFbs(int p);
    int GetTextPageByte(int k) const;
    QString GetFbText(int slot) const;
    void SetFbText(int slot, const QString& text);

    // Record fields.
    int GetType(int i) const;
    void SetTypeByte(int i, int v);
    int GetSubtype(int i) const;
    void SetSubtype(int i, int v);
    int GetTimerDiskr(int i) const;
    void SetTimerDiskr(int i, int v);
    int GetTimeUst(int i) const;
    void SetTimeUst(int i, int v);
    int GetAlarmHour(int i) const;
    void SetAlarmHour(int i, int v);
    int GetAlarmMin(int i) const;
    void SetAlarmMin(int i, int v);
    int GetAlarmSec(int i) const;
    void SetAlarmSec(int i, int v);
    int GetX1Num(int i) const;
    void SetX1Num(int i, int v);
    int GetX1Src(int i) const;
    void SetX1Src(int i, int v);
    QString GetCompUstText(int i) const;
    bool SetCompUstText(int i, const QString& text);
    int GetCompCond(int i) const;
    void SetCompCond(int i, int v);
    int GetCompHyst(int i) const;
    void SetCompHyst(int i, int v);
    int GetCountUst(int i) const;
    void SetCountUst(int i, int v);
    int GetInType(int i, int j) const;
    void SetInType(int i, int j, int v);
    int GetInKind(int i, int j) const;
    void SetInKind(int i, int j, int v);
    int GetInNum(int i, int j) const;
    void SetInNum(int i, int j, int v);
    int GetIn8Type(int i) const;
    void SetIn8Type(int i, int v);
    int GetIn8Kind(int i) const;
    void SetIn8Kind(int i, int v);
    int GetIn8Num(int i) const;
    void SetIn8Num(int i, int v);
    int GetSigTipS(int i) const;
    void SetSigTipS(int i, int v);
    int GetSigNTabS(int i) const;
    void SetSigNTabS(int i, int v);
    int GetSigKont(int i) const; // byte 9 bit 5, the archiving flag
    void SetSigKont(int i, int v);
    int GetB9Plus(int i, int k) const; // k = 1..5
    void SetB9Plus(int i, int k, int v);

    // Calculation records.
    int GetCalcOp(int i) const;
    void SetCalcOp(int i, int v);
    int GetIntegrNum(int i, int k) const; // k = 0..11
    void SetIntegrNum(int i, int k, int v);
    void SetB13(int i, int v);
    int GetDayStartHour(int i) const;
    void SetDayStartHour(int i, int v);
    int GetX1SrcCalc(int i) const { return GetX1Src(i); }
    void SetX1SrcCalc(int i, int v) { SetX1Src(i, v); }
    int GetX1NumCalc(int i) const { return GetX1Num(i); }
    void SetX1NumCalc(int i, int v) { SetX1Num(i, v); }
    int GetX2Src(int i) const;
    void SetX2Src(int i, int v);
    int GetX2Num(int i) const;
    void SetX2Num(int i, int v);
    QString GetConstText(int i, int k) const; // k = 1: C1, k = 2: C2
    bool SetConstText(int i, int k, const QString& text);
    int GetCalcByte(int i, int sel) const; // sel 1: byte 9, sel 2: byte 6
    void SetCalcByte(int i, int sel, int v);

    // Renumbering of block inputs. Positions p are 0-based: signal p has the number p + 1.
    void FixInputsOnDelete(int p, int n);
    void FixAnInputsOnDelete(int p, int n);
    void FixInputsOnDelete2(int p);
    void FixInputsOnDelete3(int p);
    void FixInputsOnMove(int p, int n, int shift);
    void FixInputsOnMove2(int p, int n, int shift);
    void FixFbRefsOnShift(int destination, int runStart, int runEnd, int panelCount);

    // Algorithm tables; the names are text slots 0..120 (GetFbText / SetFbText).
    AlgTables<Slots> AlgTable;
    // Resets the tables and blanks the names (a device read discards the algorithms).
    void ResetAlgorithms();

  private:
    uint8_t* Rec(int i);
    const uint8_t* Rec(int i) const;
    QString FloatText(int i, int k) const;
    bool SetFloatText(int i, int k, const QString& text);
    // Calls fn(first byte, number byte) for every input reference of the logic records.
    void ForEachInputRef(const std::function<void(uint8_t&, uint8_t&)>& fn);
    void RenumberKinds(std::initializer_list<int> kinds, const std::function<int(int)>& map);
    void RenumberAnalogue(const std::function<int(int)>& map);

    std::array<uint8_t, Slots * RecordLen> records_{};
    std::array<uint8_t, PageBytes> page_{};
    std::array<uint8_t, TextPageBytes> textPage_{};
    std::array<uint8_t, Slots * TextLen> texts_{};
    int logicFBLimit_ = FBCapacity;
};
