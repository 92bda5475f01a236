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
    for (int32_t value : values) request.WriteInt(value);
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
        if (!digits.empty()) digits += '.';
        for (++at; at < text.size() && !isDigit(text[at]);) ++at;
    }
    uint16_t numbers[4] = {};
    size_t part = 0;
    for (char c : digits) {
        if (c == '.') {
            if (++part == 4) break;
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
        rows.push_back(
            Format(model.HasCircuitGroup(unit - 1) ? "Slave %d       \tm10X" : "Slave %d       \tm5X", unit));
    return rows;
}

int NextWizardStep(int index, int result, bool adapterBefore4) {
    if (result == kStepCancel) return -1;
    const int step = result == kStepNext ? 1 : -1;
    int next = index + step;
    if (adapterBefore4 && next == 3) next += step;
    return next;
}

std::vector<std::string> BuildViewerArguments(bool remote, const std::string& userName, const std::string& password,
                                              const sockaddr_in& gateway) {
    if (remote) return RemoteLoginArguments(userName, password);
    std::vector<std::string> arguments = {"/IP:" + FormatDottedQuad(gateway.sin_addr.s_addr)};
    const uint16_t port = ntohs(gateway.sin_port);
    if (port != 0 && port != 80) arguments.push_back("/PORT:" + std::to_string(port));
    arguments.push_back(kTitleArgument);
    return arguments;
}

CBasinSetupDlg::CBasinSetupDlg(CZVServer& server, CGatewayLink& link, CBasinSetupView& view, CViewerStarter& viewer,
                               Options options)
    : m_server(server),
      m_link(link),
      m_view(view),
      m_viewer(viewer),
      m_options(std::move(options)),
      m_sink(server, *this),
      m_countdownStart(platform::GetTickCount()),
      m_searchPending(!m_options.remote && !server.IsConnected()) {
    m_server.RegisterSink(&m_sink);
}

CBasinSetupDlg::~CBasinSetupDlg() {
    if (m_sink.GetServer()) m_sink.GetServer()->UnregisterSink(&m_sink);
}

void CBasinSetupDlg::OnInitDialog() {
    m_initialised = true;
    SetRows({kLookingRow});
    if (!m_options.noInheritedSocket) {
        m_view.ShowControl(IDC_START_VIEWER, false);
        m_view.ShowControl(IDC_START_HINT, false);
        m_view.ShowControl(IDC_COUNTDOWN, false);
    }
}

void CBasinSetupDlg::SetRows(std::vector<std::string> rows) {
    m_rows = std::move(rows);
    m_view.ShowRows(m_rows);
}

void CBasinSetupDlg::OnConnectionChanged(int connected) {
    connected = connected ? 1 : 0;
    if (!m_initialised || connected == m_reported) return;
    m_reported = connected;
    if (connected) {
        if (CheckAdapterVersion()) {
            ShowVersions();
            EnableActions(true);
            m_versionsShown = true;
        }
        return;
    }
    m_view.StopTimer();
    m_view.SetCountdownText("Disconnected");
    m_model.reset();  // a wizard step that runs keeps its own reference
    EnableActions(false);
    SetRows({kLookingRow});
    m_view.EnableControl(IDC_VERSION_LIST, false);
    m_view.EnableControl(IDC_SYNC_HOUSE, false);  // there is no gateway to send it to
}

int CBasinSetupDlg::CheckAdapterVersion() {
    CZVQuery query(m_server);
    CZVMSG* answer = Ask(query, m_server, ZVM_SYSCONFIG_GETVERSIONQ);
    if (!answer) return 0;
    std::string version;
    int32_t type = -1;
    answer->ReadString(version);
    answer->ReadInt(type);
    if (type == 1 || type == 6 || type == 7) return m_server.IsConnected() ? 1 : 0;
    return 1;
}

void CBasinSetupDlg::ShowVersions() {
    if (m_autoStartArmed) {
        m_view.StartTimer(kTimerInterval);
        m_countdownStart = platform::GetTickCount();
    }
    m_rows.clear();
    m_view.EnableControl(IDC_VERSION_LIST, true);
    std::string version = "Error";
    {
        CZVQuery query(m_server);
        if (CZVMSG* answer = Ask(query, m_server, ZVM_SYSCONFIG_GETVERSIONQ)) {
            std::string text;
            if (answer->ReadString(text)) version = text;
        }
    }
    m_adapterName.clear();
    {
        CZVQuery query(m_server);
        if (CZVMSG* answer = Ask(query, m_server, ZVM_SYSCONFIG_GETSYSTEMINFOQ)) {
            int32_t skipped = 0;
            if (answer->ReadInt(skipped) && answer->ReadInt(skipped)) answer->ReadString(m_adapterName);
        }
    }
    uint16_t major = 0, minor = 0;
    ParseVersionText(version, major, minor);
    if (major < 4) m_view.EnableControl(IDC_START_VIEWER, false);
    m_model.reset();
    m_model = std::make_shared<CBasinSetup>(m_link, m_server.GetVariant(), 0, major, minor);
    if (!m_model->IsLoaded()) {
        SetRows({});
        return;
    }
    SetRows(BuildVersionRows(*m_model, version, m_adapterName));
}

void CBasinSetupDlg::EnableActions(bool on) {
    m_view.EnableControl(IDC_CONFIGURE, on);
    m_view.EnableControl(IDC_START_VIEWER, on && m_model && m_model->IsVersionAtLeast(4, 0));
}

void CBasinSetupDlg::OnTimer() {
    if (m_searchPending) SearchForGateway();
    if (m_model && !m_model->IsLoaded())
        m_server.GetSocket()->Disconnect();  // the manager connects again and the model is rebuilt
    CZVQuery query(m_server);
    CZVMSG* status = Ask(query, m_server, ZVM_POOL_GETSTATUSQ, {0});
    if (!status) {
        m_countdownStart = platform::GetTickCount();
        return;
    }
    if (m_model) {
        std::shared_ptr<CBasinSetup> model = m_model;
        model->ReadStatus(*status);
        ShowControllerState(*model);
    }
    if (!m_options.noInheritedSocket) return;
    if (m_model && !m_model->IsVersionAtLeast(4, 0)) {
        m_view.SetCountdownText("Viewer Not Available (Version 3.0)");
        return;
    }
    RunCountdown();
}

void CBasinSetupDlg::ShowControllerState(const CBasinSetup& model) {
    if (model.IsReady() && !model.IsSynchronizing() && !model.IsServiceMode()) {
        m_view.EnableControl(IDC_SYNC_HOUSE, true);
        if (!m_versionsShown) {
            ShowVersions();
            m_versionsShown = true;
            EnableActions(true);
        }
        return;
    }
    if (model.IsSynchronizing()) {
        SetRows({"Synchronizing..."});
        m_view.EnableControl(IDC_SYNC_HOUSE, true);
    } else if (model.IsServiceMode()) {
        SetRows({"Marquel in Service Mode"});
    } else {
        SetRows({"Connecting To Marquel..."});
        m_view.EnableControl(IDC_SYNC_HOUSE, false);
    }
    EnableActions(false);
    m_versionsShown = false;
    m_countdownStart = platform::GetTickCount();
}

void CBasinSetupDlg::RunCountdown() {
    const int remaining =
        static_cast<int>(kAutoStartSeconds) - static_cast<int>(platform::TicksSince(m_countdownStart) / 1000);
    if (remaining < 0) {
        m_view.StopTimer();
        StartViewer();
        return;
    }
    m_view.SetCountdownText(FormatCountdown(remaining));
}

void CBasinSetupDlg::SearchForGateway() {
    m_searchPending = false;
    uint32_t found = 0;
    {
        std::unique_ptr<CSearchProgress> progress = m_view.OpenSearchProgress();
        found = FindLocalGateways(progress.get());
    }
    if (found) m_server.ConnectLocal(found, m_options.gatewayPort, -1);
}

void CBasinSetupDlg::OnConfigure() {
    m_autoStartArmed = false;
    m_view.ShowControl(IDC_COUNTDOWN, false);
    m_view.StopTimer();
    if (!m_view.RunConfigWarning()) return;
    for (int index = 0; index != -1 && index < kWizardSteps;) index = RunWizardStep(index);
}

int CBasinSetupDlg::RunWizardStep(int index) {
    // The step works on the model of the moment and keeps it alive, even when
    // a lost connection drops the dialog's own reference meanwhile.
    std::shared_ptr<CBasinSetup> model = m_model;
    if (index < 0 || index >= kWizardSteps || !model || !model->IsLoaded()) return -1;
    const int result = m_view.RunWizardStepDialog(index, model, m_adapterName);
    return NextWizardStep(index, result, !model->IsVersionAtLeast(4, 0));
}

sockaddr_in CBasinSetupDlg::GatewayAddress() const {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    const int handle = m_server.GetSocket()->GetHandle();
    if (handle != -1 && getpeername(handle, reinterpret_cast<sockaddr*>(&peer), &size) == 0 &&
        peer.sin_family == AF_INET)
        return peer;
    return m_server.GetGatewayAddress();
}

void CBasinSetupDlg::StartViewer() {
    const std::vector<std::string> arguments =
        BuildViewerArguments(m_options.remote, m_options.userName, m_options.password, GatewayAddress());
    m_server.GetSocket()->Disconnect();  // the tablet program takes the gateway's connection
    if (m_viewer.Start(arguments))
        OnCancel();
    else
        m_view.ShowMessage("Error Starting Vistrel");
}

void CBasinSetupDlg::OnSyncHouseAddress() {
    if (!m_view.RunHouseCode()) return;
    CZVQuery query(m_server);
    if (Ask(query, m_server, ZVM_POOL_SETHOUSEADDRESSQ, {m_model ? m_model->GetControllerIndex() : 0}))
        m_view.ShowMessage("House Address Change\n\nClick OK to synchronize.");
}
