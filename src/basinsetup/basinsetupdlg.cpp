#include "basinsetup/basinsetupdlg.h"

#include <sys/socket.h>

#include <cctype>
#include <cstdio>

#include "basinsetup/searchgateway.h"
#include "core/messages/setupmessages.h"
#include "core/zvlogin.h"
#include "core/zvquery.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/process.h"

namespace {

constexpr uint32_t kTimerInterval = 1000;

std::string Format(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// A query without payload but the given ints; the answer stays with the query.
CZVMSG* Ask(CZVQuery& query, CZVServer& server, uint16_t id, std::initializer_list<int32_t> values = {}) {
    CZVMSG request(0, id, 0, 1, server.GetVariant());
    for (int32_t value : values)
        request.WriteInt(value);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request) ? answer : nullptr;
}

}  // namespace

bool CSpawnViewerStarter::Start(const std::vector<std::string>& arguments) {
    return platform::StartProgram("vistrel", arguments) != -1;
}

void ParseVersionText(const std::string& text, uint16_t& major, uint16_t& minor) {
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    // Digits and dots stay; any other character becomes one dot (none at the
    // start) and the characters after it up to the next digit go.
    std::string digits;
    for (size_t at = 0; at < text.size();) {
        if (isDigit(text[at]) || text[at] == '.') {
            digits += text[at++];
            continue;
        }
        if (!digits.empty())
            digits += '.';
        for (++at; at < text.size() && !isDigit(text[at]);)
            ++at;
    }
    uint16_t numbers[4] = {};
    size_t part = 0;
    for (char c : digits) {
        if (c == '.') {
            if (++part == 4)
                break;
        } else {
            numbers[part] = static_cast<uint16_t>(numbers[part] * 10 + (c - '0'));  // kept to 16 bits
        }
    }
    major = numbers[0];
    minor = numbers[2];
}

std::string FormatCountdown(int remainingSeconds) {
    return Format("Auto-Start %0d min %02d sec", remainingSeconds / 60, remainingSeconds % 60);
}

std::vector<std::string> BuildVersionRows(const CBasinSetup& model, const std::string& versionText,
                                          const std::string& adapterName) {
    const uint8_t* firmware = model.GetTable(1);
    const int firmwareCount = model.GetTableCount(1);
    const double firmwareVersion =
        GetByteAt(firmware, firmwareCount, 0) + GetByteAt(firmware, firmwareCount, 1) / 1000.0;
    std::vector<std::string> rows = {
        "Controller Type\t" + model.GetControllerName(),
        Format("Controller Firmware\t %.3f", firmwareVersion),
        "Protocol Adapter Version\t" + versionText,
        "Protocol Adapter Name\t" + adapterName,
        std::string("Configurator Version\t") + kConfiguratorVersion,
    };
    const int units = model.GetExpansionByte() >> 6;
    for (int unit = 1; unit <= units; ++unit)
        rows.push_back(Format(model.HasCircuitGroup(unit - 1) ? "Slave %d       \tm10X" : "Slave %d       \tm5X", unit));
    return rows;
}

int NextWizardStep(int index, int result, bool adapterBefore4) {
    if (result == kStepCancel)
        return -1;
    const int step = result == kStepNext ? 1 : -1;
    int next = index + step;
    if (adapterBefore4 && next == 3)
        next += step;
    return next;
}

std::vector<std::string> BuildViewerArguments(bool remote, const std::string& userName, const std::string& password,
                                              const sockaddr_in& gateway) {
    if (remote)
        return RemoteLoginArguments(userName, password);
    std::vector<std::string> arguments = {"/IP:" + FormatDottedQuad(gateway.sin_addr.s_addr)};
    const uint16_t port = ntohs(gateway.sin_port);
    if (port != 0 && port != 80)
        arguments.push_back("/PORT:" + std::to_string(port));
    arguments.push_back(kTitleArgument);
    return arguments;
}

CBasinSetupDlg::CBasinSetupDlg(CZVServer& server, CGatewayLink& link, CBasinSetupView& view, CViewerStarter& viewer,
                               Options options)
    : server_(server),
      link_(link),
      view_(view),
      viewer_(viewer),
      options_(std::move(options)),
      sink_(server, *this),
      countdownStart_(platform::GetTickCount()),
      searchPending_(!options_.remote && !server.IsConnected()) {
    server_.RegisterSink(&sink_);
}

CBasinSetupDlg::~CBasinSetupDlg() {
    if (sink_.GetServer())
        sink_.GetServer()->UnregisterSink(&sink_);
}

void CBasinSetupDlg::OnInitDialog() {
    initialised_ = true;
    SetRows({kLookingRow});
    if (!options_.noInheritedSocket) {
        view_.ShowControl(IDC_START_VIEWER, false);
        view_.ShowControl(IDC_START_HINT, false);
        view_.ShowControl(IDC_COUNTDOWN, false);
    }
}

void CBasinSetupDlg::SetRows(std::vector<std::string> rows) {
    rows_ = std::move(rows);
    view_.ShowRows(rows_);
}

void CBasinSetupDlg::OnConnectionChanged(int connected) {
    connected = connected ? 1 : 0;
    if (!initialised_ || connected == reported_)
        return;
    reported_ = connected;
    if (connected) {
        if (CheckAdapterVersion()) {
            ShowVersions();
            EnableActions(true);
            versionsShown_ = true;
        }
        return;
    }
    view_.StopTimer();
    view_.SetCountdownText("Disconnected");
    model_.reset();  // a wizard step that runs keeps its own reference
    EnableActions(false);
    SetRows({kLookingRow});
    view_.EnableControl(IDC_VERSION_LIST, false);
    view_.EnableControl(IDC_SYNC_HOUSE, false);  // there is no gateway to send it to
}

int CBasinSetupDlg::CheckAdapterVersion() {
    CZVQuery query(server_);
    CZVMSG* answer = Ask(query, server_, ZVM_SYSCONFIG_GETVERSIONQ);
    if (!answer)
        return 0;
    std::string version;
    int32_t type = -1;
    answer->ReadString(version);
    answer->ReadInt(type);
    if (type == 1 || type == 6 || type == 7)
        return server_.IsConnected() ? 1 : 0;
    return 1;
}

void CBasinSetupDlg::ShowVersions() {
    if (autoStartArmed_) {
        view_.StartTimer(kTimerInterval);
        countdownStart_ = platform::GetTickCount();
    }
    rows_.clear();
    view_.EnableControl(IDC_VERSION_LIST, true);
    std::string version = "Error";
    {
        CZVQuery query(server_);
        if (CZVMSG* answer = Ask(query, server_, ZVM_SYSCONFIG_GETVERSIONQ)) {
            std::string text;
            if (answer->ReadString(text))
                version = text;
        }
    }
    adapterName_.clear();
    {
        CZVQuery query(server_);
        if (CZVMSG* answer = Ask(query, server_, ZVM_SYSCONFIG_GETSYSTEMINFOQ)) {
            int32_t skipped = 0;
            if (answer->ReadInt(skipped) && answer->ReadInt(skipped))
                answer->ReadString(adapterName_);
        }
    }
    uint16_t major = 0, minor = 0;
    ParseVersionText(version, major, minor);
    if (major < 4)
        view_.EnableControl(IDC_START_VIEWER, false);
    model_.reset();
    model_ = std::make_shared<CBasinSetup>(link_, server_.GetVariant(), 0, major, minor);
    if (!model_->IsLoaded()) {
        SetRows({});
        return;
    }
    SetRows(BuildVersionRows(*model_, version, adapterName_));
}

void CBasinSetupDlg::EnableActions(bool on) {
    view_.EnableControl(IDC_CONFIGURE, on);
    view_.EnableControl(IDC_START_VIEWER, on && model_ && model_->IsVersionAtLeast(4, 0));
}

void CBasinSetupDlg::OnTimer() {
    if (searchPending_)
        SearchForGateway();
    if (model_ && !model_->IsLoaded())
        server_.GetSocket()->Disconnect();  // the manager connects again and the model is rebuilt
    CZVQuery query(server_);
    CZVMSG* status = Ask(query, server_, ZVM_POOL_GETSTATUSQ, {0});
    if (!status) {
        countdownStart_ = platform::GetTickCount();
        return;
    }
    if (model_) {
        std::shared_ptr<CBasinSetup> model = model_;
        model->ReadStatus(*status);
        ShowControllerState(*model);
    }
    if (!options_.noInheritedSocket)
        return;
    if (model_ && !model_->IsVersionAtLeast(4, 0)) {
        view_.SetCountdownText("Viewer Not Available (Version 3.0)");
        return;
    }
    RunCountdown();
}

void CBasinSetupDlg::ShowControllerState(const CBasinSetup& model) {
    if (model.IsReady() && !model.IsSynchronizing() && !model.IsServiceMode()) {
        view_.EnableControl(IDC_SYNC_HOUSE, true);
        if (!versionsShown_) {
            ShowVersions();
            versionsShown_ = true;
            EnableActions(true);
        }
        return;
    }
    if (model.IsSynchronizing()) {
        SetRows({"Synchronizing..."});
        view_.EnableControl(IDC_SYNC_HOUSE, true);
    } else if (model.IsServiceMode()) {
        SetRows({"Marquel in Service Mode"});
    } else {
        SetRows({"Connecting To Marquel..."});
        view_.EnableControl(IDC_SYNC_HOUSE, false);
    }
    EnableActions(false);
    versionsShown_ = false;
    countdownStart_ = platform::GetTickCount();
}

void CBasinSetupDlg::RunCountdown() {
    const int remaining = static_cast<int>(kAutoStartSeconds) - static_cast<int>(platform::TicksSince(countdownStart_) / 1000);
    if (remaining < 0) {
        view_.StopTimer();
        StartViewer();
        return;
    }
    view_.SetCountdownText(FormatCountdown(remaining));
}

void CBasinSetupDlg::SearchForGateway() {
    searchPending_ = false;
    uint32_t found = 0;
    {
        std::unique_ptr<CSearchProgress> progress = view_.OpenSearchProgress();
        found = FindLocalGateways(progress.get());
    }
    if (found)
        server_.ConnectLocal(found, options_.gatewayPort, -1);
}

void CBasinSetupDlg::OnConfigure() {
    autoStartArmed_ = false;
    view_.ShowControl(IDC_COUNTDOWN, false);
    view_.StopTimer();
    if (!view_.RunConfigWarning())
        return;
    for (int index = 0; index != -1 && index < kWizardSteps;)
        index = RunWizardStep(index);
}

int CBasinSetupDlg::RunWizardStep(int index) {
    // The step works on the model of the moment and keeps it alive, even when
    // a lost connection drops the dialog's own reference meanwhile.
    std::shared_ptr<CBasinSetup> model = model_;
    if (index < 0 || index >= kWizardSteps || !model || !model->IsLoaded())
        return -1;
    const int result = view_.RunWizardStepDialog(index, model, adapterName_);
    return NextWizardStep(index, result, !model->IsVersionAtLeast(4, 0));
}

sockaddr_in CBasinSetupDlg::GatewayAddress() const {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    const int handle = server_.GetSocket()->GetHandle();
    if (handle != -1 && getpeername(handle, reinterpret_cast<sockaddr*>(&peer), &size) == 0 &&
        peer.sin_family == AF_INET)
        return peer;
    return server_.GetGatewayAddress();
}

void CBasinSetupDlg::StartViewer() {
    const std::vector<std::string> arguments =
        BuildViewerArguments(options_.remote, options_.userName, options_.password, GatewayAddress());
    server_.GetSocket()->Disconnect();  // the tablet program takes the gateway's connection
    if (viewer_.Start(arguments))
        OnCancel();
    else
        view_.ShowMessage("Error Starting Vistrel");
}

void CBasinSetupDlg::OnSyncHouseAddress() {
    if (!view_.RunHouseCode())
        return;
    CZVQuery query(server_);
    if (Ask(query, server_, ZVM_POOL_SETHOUSEADDRESSQ, {model_ ? model_->GetControllerIndex() : 0}))
        view_.ShowMessage("House Address Change\n\nClick OK to synchronize.");
}
