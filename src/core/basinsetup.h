#pragma once
// The pool controller behind the gateway: its configuration, loaded once at
// construction, and its live status, fed by the owner with every pool status
// message. Also the commands and configuration writers that change it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/gatewaylink.h"
#include "core/messages/coremessages.h"
#include "core/zvmsg.h"
#include "core/zvoblist.h"

// Pool messages.

class CBasinSetup;

class CPoolCircuit {
public:
    CPoolCircuit(CBasinSetup* owner, int recordIndex) : owner(owner), recordIndex(recordIndex) {}

    int IsPoolOrSpa() const { return function == 1 || function == 2; }
    // Stores the run time and, unless controllerIndex is -1, sends it.
    void SetRunTime(int controllerIndex, int minutes);

    CBasinSetup* owner;
    std::string name;
    uint8_t nameIndex = 0;
    int32_t circuitId = 0;
    uint16_t runTime = 0;   // minutes; 720 = no limit
    uint8_t function = 0;   // 1 spa, 2 pool, others named by the function list
    uint8_t interface = 0;  // display group
    uint8_t colorPosition = 0;
    uint8_t colorSet = 0;
    uint8_t colorStagger = 0;
    uint8_t deviceId = 0;
    uint8_t flags = 0;  // bit 0: freeze protection
    uint8_t delay = 0;
    int32_t state = -1;
    int32_t spare = 0;
    int32_t recordIndex;
};

struct CPoolColor {
    std::string name;
    uint32_t color = 0;
};

struct CPoolNameEntry {
    std::string name;
    int32_t code = 0;
};

// The live values of one body of water (0 pool, 1 spa).
struct CPoolBody {
    int32_t temperature = 0;
    int32_t heatStatus = 0;  // 0 off, 1 solar or heat pump, 2 heater, 3 both
    int32_t setPoint = 0;
    int32_t heatMode = 0;
    int32_t extra = 0;  // monitor program, gateway 5.1 on
    uint8_t setPointMin = 0;
    uint8_t setPointMax = 0;
};

inline constexpr int kPoolTableCount = 12;  // the monitor program reads a twelfth
inline constexpr int kPoolTableMax = 1000;
inline constexpr int kPoolPumpCount = 8;
inline constexpr int kPoolChemistryCount = 8;
inline constexpr uint8_t kPoolPumpVX900 = 255;
inline constexpr uint16_t kPoolNoRunTime = 720;

class CBasinSetup {
public:
    // Loads the controller's configuration through link at once; read
    // IsLoaded afterwards. The tablet program has no version gates and
    // ignores major and minor.
    CBasinSetup(CGatewayLink& link, ZVVariant variant, int controllerIndex, uint16_t major = 0, uint16_t minor = 0);
    virtual ~CBasinSetup();
    CBasinSetup(const CBasinSetup&) = delete;
    CBasinSetup& operator=(const CBasinSetup&) = delete;

    // Readers of the gateway's answers; 1 when every value was present.
    // The constructor uses them; owners and tests may feed them directly.
    int ReadConfig(CZVMSG& message);
    int ReadExtConfig(CZVMSG& message);
    // Accepts the status answer and the status notification, ignores others.
    int ReadStatus(CZVMSG& message);

    int IsLoaded() const { return m_loaded; }
    int IsVersionAtLeast(int major, int minor) const;
    int IsReady() const { return m_linkState == 1; }
    int IsSynchronizing() const { return m_linkState == 2; }
    int IsServiceMode() const { return m_linkState == 3; }
    int GetFreezeFlag() const;

    ZVVariant GetVariant() const { return m_variant; }
    int GetControllerIndex() const { return m_controllerIndex; }
    int32_t GetControllerId() const { return m_controllerId; }
    const std::string& GetControllerName() const { return m_controllerName; }
    uint8_t GetControllerType() const { return m_controllerType; }
    uint8_t GetControllerSubType() const { return m_controllerSubType; }
    uint8_t GetExpansionByte() const { return m_expansion; }
    int IsCelsius() const { return m_celsius != 0; }
    uint32_t GetEquipmentFlags() const { return m_equipmentFlags; }
    int32_t GetTrailingValue() const { return m_trailingValue; }
    int32_t GetFurtherConfigValue() const { return m_furtherConfigValue; }
    const std::string& GetSecondText() const { return m_secondText; }
    int32_t GetFirmwareVersion() const { return m_firmwareVersion; }
    uint8_t GetLinkState() const { return m_linkState; }
    int32_t GetAirTemp() const { return m_airTemp; }
    // Body 0 (pool) or 1 (spa); null outside.
    const CPoolBody* GetBody(int body) const;
    uint8_t GetFreezeMode() const { return m_freezeMode; }
    uint8_t GetRemotesEnabled() const { return m_remotesEnabled; }
    uint8_t GetDelayFlag(int i) const { return i >= 0 && i < 3 ? m_delayFlags[i] : 0; }
    uint8_t GetPumpCircuit(int pump) const;
    // The name of the circuit a pump slot names by device id: "VX900" for
    // 255, empty when no circuit has that device id.
    std::string GetPumpCircuitText(int pump) const;
    int IsPumpVX900(int pump) const { return GetPumpCircuit(pump) == kPoolPumpVX900; }
    // The circuits with a run time (not 720) plus extra reach the program
    // limit of the controller type.
    int IsProgramLimitReached(int extra) const;
    // Monitor program, gateway 5.1 on: pH x 100, ORP, saturation index x 100, five more.
    int32_t GetChemistry(int i) const;

    // Circuits in the order of the configuration answer.
    int GetCircuitCount() const { return static_cast<int>(m_circuits.size()); }
    CPoolCircuit* GetCircuit(int index) const;
    CPoolCircuit* FindCircuitById(int id) const;
    CPoolCircuit* FindCircuitByDevice(int deviceId) const;
    CPoolCircuit* FindCircuitByFunction(int function) const;
    void GetCircuitsByInterface(CZVObList& list, int interface) const;
    static void MoveFunctionToFront(CZVObList& list, int function);
    // Takes the list's first circuit of the function out of it.
    static void RemoveByFunction(CZVObList& list, int function);
    static void SortCircuits(CZVObList& list);
    CPoolCircuit* NextCircuit(const CPoolCircuit* circuit) const;
    CPoolCircuit* PrevCircuit(const CPoolCircuit* circuit) const;

    int GetColorCount() const { return static_cast<int>(m_colors.size()); }
    const CPoolColor* GetColor(int index) const;
    const CPoolNameEntry* GetFunctionEntry(int index) const;
    std::string GetFunctionName(int index) const;
    int GetFunctionCode(int index) const;
    std::string GetFunctionNameByCode(int code) const;
    int GetBuiltInNameCount() const { return static_cast<int>(m_builtInNames.size()); }
    const std::vector<std::string>& GetBuiltInNames() const { return m_builtInNames; }
    const std::vector<std::string>& GetCustomNames() const { return m_customNames; }
    // The name index of the first custom name: the announced size of the
    // built-in list, however many built-in names arrived.
    int GetFirstCustomNameIndex() const { return m_builtInTotal; }
    void ResolveCircuitNames();

    std::string GetHeatModeText(int mode) const;
    std::string GetHeatStatusText(int status) const;
    std::string GetSolarText() const;
    std::string GetTempText(int value) const;
    std::string GetBody0Name() const;
    std::string GetBody1Name() const;
    std::string GetFreezeText() const;
    std::string GetTriggerName(uint8_t code) const;

    // Commands, sent without waiting.
    void SetCircuitState(CPoolCircuit* circuit, int on);
    // Sends the level as it is (a dimmer's percent) and stores it as the state.
    void SetCircuitLevel(CPoolCircuit* circuit, int level);
    void SetColorSet(CPoolCircuit* circuit, uint8_t colorSet);
    void SetLightParams(const CPoolCircuit* circuit);
    // One of the controller's colour-light commands (all off, sync, a show ...).
    void SendLightCommand(int command);
    // Asked; 1 when the gateway answered.
    int CancelDelays();
    int EnableRemotes(int flag);

    // Configuration writers; each asks and returns 1 when the gateway answered.
    int SetLightParamsWait(CPoolCircuit* circuit, uint8_t colorPosition);
    int WriteCircuit(CPoolCircuit* circuit);
    int SetCustomName(int index, const std::string& text);
    int AdjustSensor(int sensor, int delta);
    int WriteConfigurationTables();

    // Byte tables, numbered 1 to 12 as they arrive.
    int GetTableCount(int table) const;
    const uint8_t* GetTable(int table) const;
    // SetTableByteN edits table N + 1; an index outside the table changes nothing.
    int SetTableByte1(int index, uint8_t value, int write = 1);
    int SetTableByte2(int index, uint8_t value, int write = 1);
    int SetTableByte3(int index, uint8_t value, int write);
    int SetTableByte4(int index, uint8_t value, int write);
    int SetTableByte5(int index, uint8_t value, int write);
    int SetTableByte6(int index, uint8_t value, int write);
    int SetTableByte7(int index, uint8_t value, int write);
    int SetTableByte8(int index, uint8_t value, int write);
    int SetTableByte9(int index, uint8_t value, int write);

    // Which circuit slots the controller offers in the configuration lists.
    int IsCircuitAllowed(const CPoolCircuit* circuit) const;
    int HasCircuitGroup(int group) const;

    CGatewayLink& Link() const { return m_link; }

private:
    void Load();
    int LoadExtended();
    int LoadBuiltInNames();
    void ReleaseTables();
    int ReadTable(CZVMSG& message, int table);
    int ReadCircuit(CZVMSG& message, int recordIndex);
    int ReadColor(CZVMSG& message);
    int ReadBody(CZVMSG& message, int store);
    int ReadCircuitStatus(CZVMSG& message);
    int Gate(int major, int minor) const;
    int HasHeatPump() const { return (m_equipmentFlags & 0x2) != 0; }
    int SetTableByte(int table, int index, uint8_t value, int write);
    std::string ResolveName(uint8_t nameIndex) const;
    std::unique_ptr<CZVMSG> Ask(CZVMSG& request) { return m_link.Ask(request, kDefaultQueryTimeout); }
    int AskAnswered(CZVMSG& request) { return Ask(request) != nullptr; }

    CGatewayLink& m_link;
    ZVVariant m_variant;
    uint16_t m_major;
    uint16_t m_minor;
    int m_loaded = 0;
    int32_t m_controllerIndex;
    int32_t m_controllerId = -1;
    uint8_t m_celsius = 0;
    int32_t m_trailingValue = 127;
    int32_t m_furtherConfigValue = 0;
    uint32_t m_equipmentFlags = 0;
    uint8_t m_freezeMode = 0;
    uint8_t m_remotesEnabled = 0;
    std::array<uint8_t, 3> m_delayFlags{};
    std::vector<std::unique_ptr<CPoolCircuit>> m_circuits;
    std::vector<CPoolColor> m_colors;
    std::string m_controllerName = "General";
    uint8_t m_controllerType = 0;
    uint8_t m_controllerSubType = 0;
    uint8_t m_expansion = 0;
    uint8_t m_linkState = 0;
    int32_t m_airTemp = 0;
    std::array<CPoolBody, 2> m_bodies{};
    std::array<uint8_t, kPoolPumpCount> m_pumpCircuits{};
    std::array<int32_t, kPoolChemistryCount> m_chemistry{0, 0, 255, 0, 0, 0, 0, 0};
    // The announced size of the built-in list: the boundary between built-in
    // and custom name indices, even when fewer names arrived.
    int m_builtInTotal = 0;
    std::vector<std::string> m_builtInNames;
    std::vector<std::string> m_customNames;
    std::vector<CPoolNameEntry> m_functionNames;
    std::array<std::vector<uint8_t>, kPoolTableCount> m_tables;
    int32_t m_firmwareVersion = 0;
    std::string m_secondText;
};

// "Enabled" or "Disabled".
std::string GetEnabledText(int flag);
// The byte at index, or 0 outside 0..count-1.
uint8_t GetByteAt(const uint8_t* table, int count, int index);
