#pragma once
// The simulated device: configuration blocks, composition, live values and a fault plan. It
// answers request frames as the device does; SimLink and the devsim program carry the bytes.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

enum class FaultKind { NoReply, BadCrc, ShortReply, Exception, PortLost };

struct Fault {
    FaultKind kind = FaultKind::NoReply;
    int function = -1; // the request's function; -1 any
    int block = -1;    // the block of a 'D' or 'E' request; -1 any request
    int count = -1;    // requests it applies to; -1 for ever
    int code = 0;      // the exception code
};

struct FaultPlan {
    std::vector<Fault> faults; // the first matching fault with count left applies
    int busyPolls = 0;         // status polls answered 6 after each 'E'; -1 for ever
    bool sixtyBlocks = false;  // a 60-block device: blocks 26..31 are refused with code 3
    // Alters a reply, after the faults above, before it travels; when it returns true the CRC is
    // made right again, so only the altered content is wrong.
    std::function<bool(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply)> alter;
};

class SimDevice {
  public:
    SimDevice();

    // The modules the simulator starts with: a controller in slot 1, a discrete input module and a
    // relay module: 24 discrete signals of the controller and 12 of the module, 4 analogue
    // channels, 8 relay outputs.
    static constexpr std::array<uint8_t, 8> kSampleSlots{13, 2, 11, 0, 0, 0, 0, 0};

    // The reply to one request frame, or nothing (no reply, a broadcast, a bad frame).
    std::optional<std::vector<uint8_t>> Handle(std::span<const uint8_t> request);

    // Length of the request frame starting with head, once known: 0 when more bytes are needed
    // to tell, -1 when its length is not fixed by its head (framing by line silence).
    static int RequestLength(std::span<const uint8_t> head);

    int Address() const { return address_; }
    void SetAddress(int a);
    std::vector<uint8_t>& Block(int id) { return blocks_[id]; } // the data after the block number
    std::array<uint8_t, 15>& Composition() { return composition_; }
    // Puts modules into the slots; the input and relay-output counts follow them.
    void SetSlotCodes(const std::array<uint8_t, 8>& codes);
    FaultPlan& Faults() { return plan_; }
    bool PortLost() const { return portLost_; }

    // Every frame received and every reply sent, in order.
    const std::vector<std::vector<uint8_t>>& Received() const { return received_; }
    const std::vector<std::vector<uint8_t>>& Sent() const { return sent_; }
    std::vector<std::vector<uint8_t>> ReceivedOf(int function) const;
    void ClearLog();

    // Live values: the input of analogue position p in per cent of its scale.
    void SetInput(int position, double percent);
    double Input(int position) const;
    // Frozen live values keep still between reads, so that a test sees exactly what it set.
    void SetFrozen(bool frozen) { frozen_ = frozen; }
    // The ADC code position p reads now.
    int AdcCode(int position) const;
    bool Coil(int a) const { return coils_[size_t(a & 0xFFFF)]; }
    void SetCoil(int a, bool on) { coils_[size_t(a & 0xFFFF)] = on; }
    bool DiscreteInput(int a) const { return inputs_[size_t(a & 0xFFFF)]; }
    void SetDiscreteInput(int a, bool on) { inputs_[size_t(a & 0xFFFF)] = on; }
    uint16_t Register(int a) const { return holding_[size_t(a & 0xFFFF)]; }
    void SetRegister(int a, uint16_t v) { holding_[size_t(a & 0xFFFF)] = v; }
    uint16_t InputRegister(int a) const { return inputRegs_[size_t(a & 0xFFFF)]; }
    float LoopValue(int loop, int which) const; // which: 0 SP, 1 OUT, 2 PV
    void SetLoopValue(int loop, int which, float v);

    static constexpr int LoopRegisters = 672;   // SP, OUT, PV of loops 0..5, two registers each
    static constexpr int ModuleHealth = 1016;   // coil per slot: 0 healthy, 1 faulty or missing
    static constexpr int NetworkValidity = 592; // offset of the validity coils of network inputs

  private:
    std::optional<std::vector<uint8_t>> Answer(int function, std::span<const uint8_t> data);
    std::vector<uint8_t> Reply(int function, std::span<const uint8_t> data) const;
    std::vector<uint8_t> Exception(int function, int code) const;
    std::vector<uint8_t> ReadTable(int function, std::span<const uint8_t> data); // functions 1..4
    std::vector<uint8_t> LiveValues(std::span<const uint8_t> data);
    void WriteCoil(int a, bool on);
    double LiveValue(int position) const; // in per cent, with the drift unless frozen
    void Move();                          // live values change a little with every request that reads them

    int address_ = 1;
    std::map<int, std::vector<uint8_t>> blocks_;
    std::array<uint8_t, 15> composition_{};
    FaultPlan plan_;
    int busyLeft_ = 0;
    bool portLost_ = false;
    std::vector<bool> coils_ = std::vector<bool>(65536);
    std::vector<bool> inputs_ = std::vector<bool>(65536);
    std::vector<uint16_t> holding_ = std::vector<uint16_t>(65536);
    std::vector<uint16_t> inputRegs_ = std::vector<uint16_t>(65536);
    std::array<double, 256> analog_{};
    int phase_ = 0;
    bool frozen_ = false;
    std::vector<std::vector<uint8_t>> received_;
    std::vector<std::vector<uint8_t>> sent_;
};
