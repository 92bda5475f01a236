#pragma once
// CSystem: one customer system of the monitor. It holds what the service
// company entered (contact data, adapter name and password, recipients and
// which alarm categories are mailed), what the last refresh read, and the
// flags and ticks that schedule refreshes and discovery lookups. It stores
// itself as a settings record in the configuration file and as one history
// record per refresh in its own history file.
//
// Threads: one poll thread refreshes a system at a time and alone writes its
// readings and alarm lists; the batch lookup writes the lookup fields; the
// user interface reads. Text fields, alarm lists and lookup fields change
// only under Lock(), and a reader on another thread takes Lock() (or a Copy
// function) to see them whole. The member functions take the lock
// themselves, so a caller never holds it around them.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/statussink.h"
#include "core/zvfile.h"
#include "core/zvtime.h"
#include "sentinax/lookupresult.h"
#include "sentinax/systemerror.h"

class CBasinSetup;
class CConnectGates;
class CEmailMessage;
class CGatewayLink;
class CMailQueue;
class CPoolCircuit;
class CSystemColumns;
class CZVServer;

// What a refresh shares with the rest of the program.
struct CRefreshContext {
    CConnectGates* gates = nullptr;
    // Where alarm mails go; none are sent without both.
    CMailQueue* mailQueue = nullptr;
    const CSystemColumns* columns = nullptr;
    // Set when the program asks its poll threads to end: the refresh gives
    // up at its next wait.
    const std::atomic<bool>* stop = nullptr;
};

// Shows no progress; a set stop flag cancels the waits.
class CStopStatus : public CStatusSink {
public:
    explicit CStopStatus(const std::atomic<bool>* stop) : stop_(stop) {}
    int Continue() override { return stop_ && stop_->load() ? 0 : 1; }

private:
    const std::atomic<bool>* stop_;
};

// A reading of the pool model that was not read.
inline constexpr int32_t kNotRead = 255;
// A pump's state runs from 1 up; kNotRead is no state at all.
inline bool IsPumpRunning(int32_t state) { return state >= 1 && state < kNotRead; }
// The show-with values of the circuits the tablet's two lights pages show
// (positioned lights, lights).
inline constexpr uint8_t kShowWithPositionedLights = 3;
inline constexpr uint8_t kShowWithLights = 4;

struct CLightsCount {
    int32_t total = 0;
    int32_t on = 0;
};
// The circuits the lights pages show, whatever kind of light each is, and
// how many of them are on.
CLightsCount CountLights(const std::vector<const CPoolCircuit*>& circuits);
// The history record the writer produces.
inline constexpr int32_t kHistoryRecordVersion = 348;
// History older than this many whole days is dropped when the file is rewritten.
inline constexpr int64_t kHistoryDays = 90;

// An adapter name without its brand: "Brenvik: 01-23-45" gives "01-23-45";
// a name without the brand is given whole.
std::string AdapterSerialOf(const std::string& adapterName);
// The base of a system's history file name: the adapter name with every
// character but letters and digits made '_'. Two systems whose bases are
// equal would share one history file.
std::string HistoryFileBase(const std::string& adapterName);

// The refresh interval shared by every system, in milliseconds (10 minutes
// at start).
void SetRefreshInterval(uint32_t milliseconds);
uint32_t GetRefreshInterval();

class CSystem : public CStatusSink {
public:
    CSystem();
    ~CSystem() override = default;
    CSystem(const CSystem&) = delete;
    CSystem& operator=(const CSystem&) = delete;

    std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(lock_); }
    // Held while the history file is read or rewritten: the poll thread's
    // append and the history window's rewrite never overlap.
    std::unique_lock<std::mutex> LockHistory() const { return std::unique_lock<std::mutex>(historyLock_); }

    void RequestRefresh();
    void RequestLookup();
    // True, with the schedule stamped, when the refresh interval has passed
    // or a refresh was asked for, and the system has an adapter name.
    bool IsDue();
    // True, with the lookup stamped, when the system should go into the next
    // batch lookup.
    bool NeedsLookup();
    // `result` is null when the batch answer did not name this system.
    void ApplyBatchResult(const LookupResult* result);

    void SetEmailList(const std::vector<std::string>& list);
    // Each sets statusChanged when the value changes.
    void SetStatus(int32_t code);
    void SetStatusText(const std::string& text);

    // The adapter name for display: "Brenvik: 01-23-45" shows as "01-23-45".
    std::string GetAdapterSerial() const;
    std::string GetAdapterName() const;

    void ClearAlarms();
    // Into `alarms` when the category is mailed, else into `warnings`.
    void AddAlarm(int32_t type, int32_t value);
    std::vector<CSystemError> CopyAlarms() const;
    std::vector<CSystemError> CopyWarnings() const;

    // The settings record. The reader takes the fields the file's version
    // holds; both stop at the first failed read or write.
    int LoadSettings(CZVFile& file, int32_t fileVersion);
    int SaveSettings(CZVFile& file);

    // One history record, read in the layout of its own version. A failed
    // read leaves the system partly filled and answers 0.
    int LoadHistoryRecord(CZVFile& file);
    int SaveHistoryRecord(CZVFile& file, int stampNow);

    // The history file in the program folder ("LOG", or "TMP" while it is
    // rewritten); empty when the folder cannot be made.
    std::string GetHistoryFileName(int temporary) const;
    // Rewrites the history without records of 90 days or more, then adds the
    // current state stamped now. On failure the history is left as it was.
    int AppendHistory();

    // One complete update on a poll thread: refreshes (again while a gate
    // says no), mails changed alarms, appends the history record and
    // schedules the next update.
    void Update(const CRefreshContext& context);
    // One attempt; the status code it ends with. `status` gets the progress
    // lines of the connection and may cancel its waits.
    int Refresh(const CRefreshContext& context, CStatusSink& status);
    // The monitor's own connection path: discovery lookup when needed, then
    // straight or through the relay, and the login. On success the server's
    // socket carries the logged-in connection.
    bool Connect(CZVServer& server, const CRefreshContext& context, CStatusSink& status);
    // The controller model text from the pool configuration's type and
    // expansion bytes.
    void SetModelName(int controllerType, int expansion);

    // The report lines of an alarm mail (recipient and subject already in
    // `message`); `columns` gives the system list's columns.
    void ComposeAlarmMail(CEmailMessage& message, const CSystemColumns& columns) const;
    // Queues one alarm mail per recipient, then the default recipient's.
    void SendAlarmNotifications(CMailQueue& queue, const CSystemColumns& columns) const;

    // Scheduling and lookup.
    int32_t neverConnected = 1;
    int32_t refreshRequested = 1;
    int32_t lookupRequested = 0;
    int32_t firstPoll = 1;
    uint32_t lastRefreshTick;
    std::string cachedAddress;
    uint16_t cachedPort = 0;
    int32_t slotBusy = 0;
    uint32_t lastLookupTick;
    int32_t connectStatus = 0;
    int32_t status = 0;
    int32_t failureCount = 0;
    int32_t loginRejected = 0;
    std::string statusText = "Not Connected";
    int32_t statusChanged = 0;

    // Entered by the user.
    std::string name = "New System";
    std::string adapterName;
    std::string adapterVersion;
    int32_t majorVersion = 0;
    std::string password;
    std::string notes;
    std::string address;
    std::string city;
    std::string reservedText;
    std::string zip;
    std::string phone;
    std::vector<std::string> emailList;
    int32_t includeDefaultEmail = 1;
    std::string modelName = "UNKNOWN";
    std::string firmwareVersion = "UNKNOWN";
    int32_t notifySystemErrors = 1;
    int32_t notifyPumpErrors = 1;
    int32_t notifyChlorinator = 0;
    int32_t notifyChemistry = 0;
    int32_t notifyHeatPump = 0;
    int32_t notifyFreeze = 1;

    // Read by the refresh.
    int32_t freezeActive = 0;
    uint32_t freezeStartTick;
    int32_t airTemperature = kNotRead;
    std::vector<CSystemError> alarms;
    std::vector<CSystemError> warnings;
    uint32_t equipmentFlags = 0;
    int32_t spaSideRemote = kNotRead;
    int32_t poolPump = kNotRead;
    int32_t poolSetPoint = kNotRead;
    int32_t poolTemperature = kNotRead;
    // Not read until the first pool status; history records of earlier
    // failed refreshes carry the not-read mark.
    int32_t poolHeatMode = kNotRead;
    std::string poolHeatModeText = "-";
    int32_t poolChlorineOutput = kNotRead;
    int32_t poolHeatStatus = 0;
    int32_t spaPump = kNotRead;
    int32_t spaSetPoint = kNotRead;
    int32_t spaTemperature = kNotRead;
    int32_t spaHeatMode = kNotRead;
    std::string spaHeatModeText = "-";
    int32_t spaChlorineOutput = kNotRead;
    int32_t spaHeatStatus = 0;
    std::string chlorinatorModel;
    int32_t chlorinatorPresent = 0;
    int32_t chlorinatorStatus = 0;  // bit 0: communicating
    int32_t chlorinatorErrors = 0;
    int32_t saltLevel = 0;          // units of 50 ppm
    int32_t lightsTotal = 0;
    int32_t lightsOn = 0;
    int32_t phValue = 0;            // pH x 100
    int32_t orpValue = 0;
    int32_t saturationIndex = 0;    // x 100
    int32_t chemistryValue4 = 0;
    int32_t acidTankLevel = 0;
    int32_t chlorineTankLevel = 0;
    CZVTime reportTime;
    // The location the gateway keeps (ten-thousandths of a degree; longitude
    // west positive), once a refresh has read it.
    int32_t locationKnown = 0;
    int32_t latitude = 0;
    int32_t longitude = 0;

private:
    // Steps of the refresh once logged in; each answers whether its request
    // was answered (and read whole).
    int ReadGateway(CGatewayLink& link);
    int ReadVersion(CGatewayLink& link, uint16_t& major, uint16_t& build);
    void TakeStatus(const CBasinSetup& model);
    bool ReadChlorinator(const CBasinSetup& model, CGatewayLink& link);
    void HoldFreezeAlarm(bool freezeNow);
    bool ReadErrorLists(CGatewayLink& link, int major);
    bool ReadErrorListOld(CGatewayLink& link, int major);
    bool ReadPumpErrors(CGatewayLink& link, int major);

    // The flag of CSystem that says whether alarms of `type` are mailed;
    // null for a type without one.
    const int32_t* NotifyFlag(int32_t type) const;
    int ReadHistoryFields(CZVFile& file, int32_t version);
    int WriteHistoryFields(CZVFile& file, const CZVTime& stamp) const;

    mutable std::mutex lock_;
    mutable std::mutex historyLock_;
};
