#pragma once
// The service part of the configuration: device number, composition, names and identifier texts
// of inputs and outputs, the file-mode and changed flags, the network input counts, and the
// input-error service.
//
// Index policy of every data class of this library: an index or length out of range never reads
// or writes outside a buffer; a getter then returns 0 (or an empty text) and a setter does
// nothing. Block unpackers refuse data shorter than the block and return false.

#include <QString>
#include <array>
#include <cstdint>

// One row of the 192 × 11 input-text table. The identifier of an input is the join of its
// first strings:
//   strings 0..4  the input or channel identifier: module caption, ".", kind letter ("Д"
//                 discrete, "А" analogue), the 1-based number; network inputs "ЛС", the
//                 request-block number, ".", kind letter, the output number
//   strings 5..6  the set-point suffix of a set-point signal: "." and "LL", "L", "H" or "HH"
//   strings 7..10 free, empty
// So the first five strings give the channel identifier ("БРОН.А1"), the first eight or ten the
// full signal identifier ("БРОН.А1.LL", "БРОН.Д3", "ЛС2.Д5").
using InputTextRow = std::array<QString, 11>;

class TServClass {
  public:
    static constexpr int InputCount = 192;
    static constexpr int TextColumns = 11;
    static constexpr int NameLen = 14;
    static constexpr int LongTextCount = 48; // one 35-character text per analogue input
    static constexpr int LongTextLen = 35;
    static constexpr int OutputRows = 40;
    static constexpr int OutputColumns = 8;
    static constexpr int SlotCount = 8;
    static constexpr int NetBlocks = 16;
    static constexpr int MaxAnInputs = 48;
    static constexpr int NamesPerBlock = 16;
    static constexpr int NameBlockCount = 12;                      // blocks 40..51
    static constexpr int NameBlockBytes = NamesPerBlock * NameLen; // 224

    TServClass();

    // Flags and counts kept here.
    int FileMode = 0;      // 1: the configuration came from a file
    int Modified = 0;      // changed since last saved
    int NamesModified = 0; // input texts changed
    int DevNum = 0;        // device number counted from 0, passed to every exchange
    // 1: only the device's composition was taken, by an editor's own read in a tool holding no
    // configuration; a read from the device, an opened file and a created configuration clear it.
    int CompositionOnly = 0;

    // A configuration was read, opened or created: slot 1 holds a controller module (БРОН or
    // БРОК) and more than the device's composition is held.
    bool HoldsConfiguration() const;

    int GetDevNum() const { return DevNum; }
    void SetDevNum(int n) { DevNum = n; }
    // Configuration byte 0: the configured device number. The block writers refresh DevNum
    // from it after each 'E' write.
    int GetDevAddr() const { return devAddr_; }
    void SetDevAddr(int v) { devAddr_ = uint8_t(v); }
    void RefreshDevNum() { DevNum = devAddr_; }

    // Network input counts (NetInputCounts), kept by the local-network editors: per request
    // block the network analogue and discrete inputs, the totals, and the blocks in use.
    std::array<int, NetBlocks> NetAnCount{};
    std::array<int, NetBlocks> NetDiCount{};
    int NetAnTotal = 0;
    int NetDiTotal = 0;
    int NetBlockCount = 0;
    int GetNetAnCount(int block) const;
    void SetNetAnCount(int block, int n);
    int GetNetDiCount(int block) const;
    void SetNetDiCount(int block, int n);
    int GetNetAnTotal() const { return NetAnTotal; }
    void SetNetAnTotal(int n) { NetAnTotal = n; }
    int GetNetDiTotal() const { return NetDiTotal; }
    void SetNetDiTotal(int n) { NetDiTotal = n; }
    int GetNetBlockCount() const { return NetBlockCount; }
    void SetNetBlockCount(int n) { NetBlockCount = n; }

    // Module code of slots 1..8 of the working configuration (SlotModuleCodes[0] is slot 1;
    // 13 БРОН, 15 БРОК, 6..9 analogue I/O modules, 2..5 and 10
    // discrete input modules, 11 and 12 relay-output modules, 0 empty).
    std::array<int, SlotCount> SlotModuleCodes{};
    int GetSlotModuleCode(int slot) const;
    void SetSlotModuleCode(int slot, int code);
    QString GetSlotCaption(int slot) const;
    static QString ModuleCaption(int code);

    int GetCntMod2A() const; // discrete input modules (12 inputs each), before the analogue ones
    int GetCntMod6F() const; // analogue modules: codes 6, 7, 8, 9, 13, 15
    static bool IsAnalogueModule(int code);
    // The 0-based index of slot among the analogue modules in slot order (the module record and,
    // plus one, the device block); −1 when the slot holds no analogue module.
    int AnModuleIndex(int slot) const;
    int GetGroup6FChannels() const { return 4 * GetCntMod6F(); }
    // The discrete signals the slots give: 24 per analogue module (the controller's own discrete
    // inputs and the set-point signals of its channels), then 12 per discrete input module.
    int GetComposedDiscrInCount() const { return 24 * GetCntMod6F() + 12 * GetCntMod2A(); }
    int GetCntModMR() const; // relay-output modules: codes 11 and 12
    static bool IsRelayModule(int code) { return code == 11 || code == 12; }
    // The 0-based index of slot among the relay modules in slot order (the module's base in
    // block 9); −1 when the slot holds no relay module.
    int RelayModuleIndex(int slot) const;
    int GetCurModule() const { return curModule_; }
    void SetCurModule(int slot) { curModule_ = slot; }
    int GetCtrlDiCount() const;
    int GetCtrlVyhCount() const { return 4; }
    // The own-input count, also the number of light-board cells; 0 disables signalling.
    int GetOwnInputCount() const;

    int GetDiscrInCount() const { return discrInCount_; }
    void SetDiscrInCount(int n); // 0..192
    int GetAnInCount() const { return anInCount_; }
    void SetAnInCount(int n); // 0..48

    // Input-text table.
    QString GetInputTextString(int i, int k) const;
    void SetInputTextString(int i, int k, const QString& s);
    InputTextRow GetInputTextRow(int i) const;
    void SetInputTextRow(int i, const InputTextRow& row);
    QString JoinInputText(int i, int n) const; // the first n strings of row i joined
    QString GetInputText(int i) const { return JoinInputText(i, 10); }
    QString GetInputText8(int i) const { return JoinInputText(i, 8); }
    // Row of the input texts of analogue channel c of analogue module m, and its identifier.
    int AnInputTextRow(int m, int c) const;
    QString GetAnInputText(int m, int c) const { return JoinInputText(AnInputTextRow(m, c), 5); }
    // Default identifiers of the local inputs, from the slot codes: the controller's discrete
    // inputs (БРОН only) at rows 0..5, then per analogue module m rows 24m + b + 4c + s for
    // channel c and set point s (b = 6 with БРОН, else 0), then the 12 inputs of each discrete
    // module after the analogue rows.
    void SetDefaultInputTexts();
    void SetDefaultNetDiText(int block, int output, int row);
    void SetDefaultNetAnUstText(int block, int output, int setPoint, int row);

    // Input names: 192 × 14 characters, Windows-1251, blank padded.
    QString GetNameText(int i) const;
    void SetNameText(int i, const QString& text);
    QByteArray GetNameRow(int i) const;
    void SetNameRow(int i, const QByteArray& bytes);
    void DeleteNames(int p, int n);
    void ClearNames(int p, int n);
    void InsertNames(int p, int n);
    // Name block 40 + N: names 16N .. 16N + 15 in the 224-byte block buffer.
    void NameTableToBlock(int N);
    bool BlockToNameTable(int N, const uint8_t* data, int size);
    int GetNameBlockByte(int k) const;
    const uint8_t* NameBlock() const { return nameBlock_.data(); }
    int GetNameBlockLen() const { return nameBlockLen_; }
    void SetNameBlockLen(int v) { nameBlockLen_ = v; }

    QString GetLongText(int c) const;
    void SetLongText(int c, const QString& text);
    QString GetOutputText(int i) const;
    QString GetOutputTextString(int i, int k) const;
    void SetOutputTextString(int i, int k, const QString& s);
    QString GetOutNameText(int i) const;
    void SetOutNameText(int i, const QString& text);

    // --- Network analogue values ---
    // The identifier of value v of a network analogue block whose set-point signals start at
    // discrete row firstRow (its StAddr_Beg1): the first five strings of the value's first
    // set-point row, which the recount of the network inputs fills ("ЛС2.А1").
    QString GetNetAnInputText(int firstRow, int v) const { return JoinInputText(firstRow + 4 * v, 5); }

    // The text check of ServInput::CheckAnValueEdit: true when the text is bad. Not empty, digits with an
    // optional leading minus and at most one decimal comma (or point); kinds 0, 1 and 2 need a
    // number in −32767..32767, kind 5 an integer 0..3.
    static bool AnValueTextBad(const QString& text, int kind);

  private:
    uint8_t devAddr_ = 0;
    int curModule_ = 0;
    int discrInCount_ = 0;
    int anInCount_ = 0;
    std::array<InputTextRow, InputCount> inputTexts_;
    std::array<uint8_t, InputCount * NameLen> names_{};
    std::array<uint8_t, NameBlockBytes> nameBlock_{};
    int nameBlockLen_ = NameBlockBytes + 1;
    std::array<QString, LongTextCount> longTexts_;
    std::array<std::array<QString, OutputColumns>, OutputRows> outputTexts_;
    std::array<QString, OutputRows> outNames_;
};
