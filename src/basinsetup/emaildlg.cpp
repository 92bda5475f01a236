#include "basinsetup/emaildlg.h"

#include <cstring>

#include "basinsetup/bitutils.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/socket.h"

namespace {

constexpr uint32_t kPollMs = 25;
constexpr uint32_t kConnectMs = 10000;
constexpr char kEmptyLine[] = "\r\n\r\n";
constexpr char kConnectError[] = "An Error occured while connecting to the email server";

// The locator's answer body: the text after its header's empty line.
size_t BodyStart(const std::string& reply) {
    const size_t end = reply.find(kEmptyLine);
    return end == std::string::npos ? std::string::npos : end + 4;
}

int32_t PayloadLength(const std::string& bytes) {
    int32_t length = 0;
    std::memcpy(&length, bytes.data() + 4, sizeof length);  // little-endian like the machine
    return length;
}

// Collects a reply whole, or fails: a time-out, a close or an overflow before it is whole.
bool ReceiveWhole(int socket, size_t room, int (*check)(const std::string&), std::string& reply) {
    return platform::ReceiveReply(socket, reply, {room, CEmailDlg::kReplyLimitMs, kPollMs}, check) ==
           platform::ReplyResult::kComplete;
}

}  // namespace

uint16_t EmailLocatorPort() {
    int32_t port = 0;
    if (platform::ReadSettingInt("Network", "EmailLocatorPort", port) && port > 0 && port <= 65535)
        return static_cast<uint16_t>(port);
    return kEmailLocatorPort;
}

int ReadAlertSettings(CZVMSG& answer, CEmailSettings& settings) {
    CEmailSettings read;
    if (!answer.ReadInt(read.enabled)) return 0;
    if (read.enabled) {
        int32_t count = 0;
        if (!answer.ReadString(read.password)) return 0;
        for (int32_t& alert : read.alerts)
            if (!answer.ReadInt(alert)) return 0;
        if (!answer.ReadInt(count) || count < 0) return 0;
        // Each recipient takes at least four bytes, so the count cannot run
        // past what the answer holds.
        for (int32_t i = 0; i < count; ++i) {
            std::string recipient;
            if (!answer.ReadString(recipient)) return 0;
            read.recipients.push_back(recipient);
        }
        if (!answer.ReadString(read.address) || !answer.ReadString(read.city) || !answer.ReadString(read.zip)) return 0;
    }
    settings = std::move(read);
    return 1;
}

void WriteAlertSettings(CZVMSG& request, const CEmailSettings& settings) {
    request.WriteInt(settings.enabled);
    if (!settings.enabled) return;
    request.WriteString(settings.password);
    for (int32_t alert : settings.alerts) request.WriteInt(alert);
    request.WriteInt(static_cast<int32_t>(settings.recipients.size()));
    for (const std::string& recipient : settings.recipients) request.WriteString(recipient);
    request.WriteString(settings.address);
    request.WriteString(settings.city);
    request.WriteString(settings.zip);
}

std::string BuildLocatorRequest(const std::string& host) {
    return "GET /cgi-bin/getms.pl HTTP/1.0\r\nUser-Agent: Zavoro\r\nHost: " + host + "\r\n\r\n\r\n";
}

int IsLocatorReplyComplete(const std::string& reply) {
    const size_t body = BodyStart(reply);
    if (body == std::string::npos) return 0;
    const size_t colon = reply.find(':', body);
    return colon != std::string::npos && reply.find(kEmptyLine, colon) != std::string::npos ? 1 : 0;
}

int ParseLocatorReply(const std::string& reply, uint32_t& address, uint16_t& port) {
    const size_t body = BodyStart(reply);
    if (body == std::string::npos) return 0;
    std::string text = reply.substr(body);
    text = text.substr(0, text.find_first_of("\r\n"));
    return ParseHostPort(text, address, port);
}

int IsSettingsFrameComplete(const std::string& bytes) {
    if (bytes.size() < CZVMSG::kHeaderSize) return 0;
    const int32_t length = PayloadLength(bytes);
    if (length < 0 || static_cast<size_t>(length) > CEmailDlg::kSettingsRoom - CZVMSG::kHeaderSize) return -1;
    return bytes.size() >= CZVMSG::kHeaderSize + static_cast<size_t>(length) ? 1 : 0;
}

CEmailDlg::CEmailDlg(CEmailView& view, std::string adapterName, uint16_t locatorPort)
    : m_view(view), m_adapterName(std::move(adapterName)), m_locatorPort(locatorPort) {}

CEmailDlg::~CEmailDlg() { platform::CloseSocket(m_settingsSocket); }

void CEmailDlg::OnInitDialog() { m_view.SetStatus("Please Wait..."); }

void CEmailDlg::OnTimer() {
    if (!m_firstTick) return;
    m_view.SetBusy(true);
    m_view.StopTimer();
    m_firstTick = false;
    const bool read = ReadSettings();
    m_view.SetBusy(false);
    if (read) return;
    m_view.ShowMessage(kConnectError);
    m_view.EndDialog(false);
}

int CEmailDlg::LocateServer(uint32_t& address, uint16_t& port) {
    m_view.SetStatus("Locating Email Server...");
    const int locator = ConnectServiceHost(m_locatorPort);
    if (locator < 0) return 0;
    m_view.SetStatus("Getting Email Server Address");
    std::string reply;
    const bool located = SendText(locator, BuildLocatorRequest(GetNetConfig().serviceHost)) &&
                         ReceiveWhole(locator, kLocatorRoom, IsLocatorReplyComplete, reply);
    platform::CloseSocket(locator);
    return located && ParseLocatorReply(reply, address, port);
}

bool CEmailDlg::ReadSettings() {
    uint32_t address = 0;
    uint16_t port = 0;
    if (!LocateServer(address, port)) return false;
    m_settingsSocket = platform::OpenTcpSocket();
    if (m_settingsSocket < 0) return false;
    m_view.SetStatus("Connecting to Email Server");
    if (platform::ConnectWithin(m_settingsSocket, platform::MakeAddress(address, port), kConnectMs) !=
        platform::ConnectResult::kConnected)
        return false;
    m_view.SetStatus("Getting Email Configuration...");
    CZVMSG request(0, ZVM_EMAIL_GETALERTSQ, 0, 1, ZVVariant::Config);
    request.WriteString(m_adapterName);
    // Only the answer to the request carries the settings.
    std::unique_ptr<CZVMSG> answer = ExchangeOnSocket(m_settingsSocket, request);
    if (!answer || answer->GetId() != ZVM_EMAIL_GETALERTSA || !ReadAlertSettings(*answer, m_settings)) return false;
    m_view.PutSettings(m_settings);
    EnableAlertControls();
    m_view.SetStatus("Ready");
    return true;
}

std::unique_ptr<CZVMSG> CEmailDlg::ExchangeOnSocket(int socket, CZVMSG& message) {
    if (socket < 0 ||
        !platform::SendAll(socket, message.GetBuffer(), static_cast<size_t>(message.GetTotalSize()), kReplyLimitMs))
        return nullptr;
    std::string reply;
    if (!ReceiveWhole(socket, kSettingsRoom, IsSettingsFrameComplete, reply)) return nullptr;
    const size_t size = CZVMSG::kHeaderSize + static_cast<size_t>(PayloadLength(reply));
    CZVMSG frame(std::span<uint8_t>(reinterpret_cast<uint8_t*>(reply.data()), size), ZVVariant::Config);
    return frame.Clone();
}

void CEmailDlg::EnableAlertControls() {
    if (m_view.GetSettings(m_settings)) m_view.EnableAlertControls(m_settings.enabled != 0);
}

void CEmailDlg::OnAddRecipient() {
    if (std::optional<std::string> address = m_view.AskNewRecipient()) {
        m_settings.recipients.push_back(*address);
        m_view.SetRecipients(m_settings.recipients);
    }
}

void CEmailDlg::OnRemoveRecipient() {
    const int row = m_view.SelectedRecipient();
    if (row < 0 || static_cast<size_t>(row) >= m_settings.recipients.size()) return;
    m_settings.recipients.erase(m_settings.recipients.begin() + row);
    m_view.SetRecipients(m_settings.recipients);
}

void CEmailDlg::OnOK() {
    if (!m_view.GetSettings(m_settings)) return;
    m_view.SetBusy(true);
    CZVMSG request(0, ZVM_EMAIL_SETALERTSQ, 0, 1, ZVVariant::Config);
    request.WriteString(m_adapterName);
    WriteAlertSettings(request, m_settings);
    const std::unique_ptr<CZVMSG> answer = ExchangeOnSocket(m_settingsSocket, request);
    m_view.SetBusy(false);
    // A write the server did not take keeps the dialog and the user's edits
    // for another try.
    if (!answer || answer->GetId() != ZVM_EMAIL_SETALERTSA) {
        m_view.ShowMessage("ERROR: Could not change settings on email server");
        return;
    }
    m_view.EndDialog(true);
}
