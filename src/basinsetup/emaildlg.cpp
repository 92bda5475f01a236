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
    if (!answer.ReadInt(read.enabled))
        return 0;
    if (read.enabled) {
        int32_t count = 0;
        if (!answer.ReadString(read.password))
            return 0;
        for (int32_t& alert : read.alerts)
            if (!answer.ReadInt(alert))
                return 0;
        if (!answer.ReadInt(count) || count < 0)
            return 0;
        // Each recipient takes at least four bytes, so the count cannot run
        // past what the answer holds.
        for (int32_t i = 0; i < count; ++i) {
            std::string recipient;
            if (!answer.ReadString(recipient))
                return 0;
            read.recipients.push_back(recipient);
        }
        if (!answer.ReadString(read.address) || !answer.ReadString(read.city) || !answer.ReadString(read.zip))
            return 0;
    }
    settings = std::move(read);
    return 1;
}

void WriteAlertSettings(CZVMSG& request, const CEmailSettings& settings) {
    request.WriteInt(settings.enabled);
    if (!settings.enabled)
        return;
    request.WriteString(settings.password);
    for (int32_t alert : settings.alerts)
        request.WriteInt(alert);
    request.WriteInt(static_cast<int32_t>(settings.recipients.size()));
    for (const std::string& recipient : settings.recipients)
        request.WriteString(recipient);
    request.WriteString(settings.address);
    request.WriteString(settings.city);
    request.WriteString(settings.zip);
}

std::string BuildLocatorRequest(const std::string& host) {
    return "GET /cgi-bin/getms.pl HTTP/1.0\r\nUser-Agent: Zavoro\r\nHost: " + host + "\r\n\r\n\r\n";
}

int IsLocatorReplyComplete(const std::string& reply) {
    const size_t body = BodyStart(reply);
    if (body == std::string::npos)
        return 0;
    const size_t colon = reply.find(':', body);
    return colon != std::string::npos && reply.find(kEmptyLine, colon) != std::string::npos ? 1 : 0;
}

int ParseLocatorReply(const std::string& reply, uint32_t& address, uint16_t& port) {
    const size_t body = BodyStart(reply);
    if (body == std::string::npos)
        return 0;
    std::string text = reply.substr(body);
    text = text.substr(0, text.find_first_of("\r\n"));
    return ParseHostPort(text, address, port);
}

int IsSettingsFrameComplete(const std::string& bytes) {
    if (bytes.size() < CZVMSG::kHeaderSize)
        return 0;
    const int32_t length = PayloadLength(bytes);
    if (length < 0 || static_cast<size_t>(length) > CEmailDlg::kSettingsRoom - CZVMSG::kHeaderSize)
        return -1;
    return bytes.size() >= CZVMSG::kHeaderSize + static_cast<size_t>(length) ? 1 : 0;
}

CEmailDlg::CEmailDlg(CEmailView& view, std::string adapterName, uint16_t locatorPort)
    : view_(view), adapterName_(std::move(adapterName)), locatorPort_(locatorPort) {}

CEmailDlg::~CEmailDlg() { platform::CloseSocket(settingsSocket_); }

void CEmailDlg::OnInitDialog() { view_.SetStatus("Please Wait..."); }

void CEmailDlg::OnTimer() {
    if (!firstTick_)
        return;
    view_.SetBusy(true);
    view_.StopTimer();
    firstTick_ = false;
    const bool read = ReadSettings();
    view_.SetBusy(false);
    if (read)
        return;
    view_.ShowMessage(kConnectError);
    view_.EndDialog(false);
}

int CEmailDlg::LocateServer(uint32_t& address, uint16_t& port) {
    view_.SetStatus("Locating Email Server...");
    const int locator = ConnectServiceHost(locatorPort_);
    if (locator < 0)
        return 0;
    view_.SetStatus("Getting Email Server Address");
    std::string reply;
    const bool located = SendText(locator, BuildLocatorRequest(GetNetConfig().serviceHost)) &&
                         ReceiveWhole(locator, kLocatorRoom, IsLocatorReplyComplete, reply);
    platform::CloseSocket(locator);
    return located && ParseLocatorReply(reply, address, port);
}

bool CEmailDlg::ReadSettings() {
    uint32_t address = 0;
    uint16_t port = 0;
    if (!LocateServer(address, port))
        return false;
    settingsSocket_ = platform::OpenTcpSocket();
    if (settingsSocket_ < 0)
        return false;
    view_.SetStatus("Connecting to Email Server");
    if (platform::ConnectWithin(settingsSocket_, platform::MakeAddress(address, port), kConnectMs) !=
        platform::ConnectResult::kConnected)
        return false;
    view_.SetStatus("Getting Email Configuration...");
    CZVMSG request(0, ZVM_EMAIL_GETALERTSQ, 0, 1, ZVVariant::Config);
    request.WriteString(adapterName_);
    // Only the answer to the request carries the settings.
    std::unique_ptr<CZVMSG> answer = ExchangeOnSocket(settingsSocket_, request);
    if (!answer || answer->GetId() != ZVM_EMAIL_GETALERTSA || !ReadAlertSettings(*answer, settings_))
        return false;
    view_.PutSettings(settings_);
    EnableAlertControls();
    view_.SetStatus("Ready");
    return true;
}

std::unique_ptr<CZVMSG> CEmailDlg::ExchangeOnSocket(int socket, CZVMSG& message) {
    if (socket < 0 || !platform::SendAll(socket, message.GetBuffer(), static_cast<size_t>(message.GetTotalSize()),
                                         kReplyLimitMs))
        return nullptr;
    std::string reply;
    if (!ReceiveWhole(socket, kSettingsRoom, IsSettingsFrameComplete, reply))
        return nullptr;
    const size_t size = CZVMSG::kHeaderSize + static_cast<size_t>(PayloadLength(reply));
    CZVMSG frame(std::span<uint8_t>(reinterpret_cast<uint8_t*>(reply.data()), size), ZVVariant::Config);
    return frame.Clone();
}

void CEmailDlg::EnableAlertControls() {
    if (view_.GetSettings(settings_))
        view_.EnableAlertControls(settings_.enabled != 0);
}

void CEmailDlg::OnAddRecipient() {
    if (std::optional<std::string> address = view_.AskNewRecipient()) {
        settings_.recipients.push_back(*address);
        view_.SetRecipients(settings_.recipients);
    }
}

void CEmailDlg::OnRemoveRecipient() {
    const int row = view_.SelectedRecipient();
    if (row < 0 || static_cast<size_t>(row) >= settings_.recipients.size())
        return;
    settings_.recipients.erase(settings_.recipients.begin() + row);
    view_.SetRecipients(settings_.recipients);
}

void CEmailDlg::OnOK() {
    if (!view_.GetSettings(settings_))
        return;
    view_.SetBusy(true);
    CZVMSG request(0, ZVM_EMAIL_SETALERTSQ, 0, 1, ZVVariant::Config);
    request.WriteString(adapterName_);
    WriteAlertSettings(request, settings_);
    const std::unique_ptr<CZVMSG> answer = ExchangeOnSocket(settingsSocket_, request);
    view_.SetBusy(false);
    // A write the server did not take keeps the dialog and the user's edits
    // for another try.
    if (!answer || answer->GetId() != ZVM_EMAIL_SETALERTSA) {
        view_.ShowMessage("ERROR: Could not change settings on email server");
        return;
    }
    view_.EndDialog(true);
}
