#include "core/downloader.h"

#include <new>
#include <string_view>

#include "platform/clock.h"
#include "platform/fileio.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "downloader";
constexpr int kReportOtherTotal = 206;
constexpr int kReportNoBuffer = 209;
constexpr uint32_t kIdleSleepMs = 25;
constexpr int32_t kLengthField = 4;
// The file takes this suffix until every byte of it is on disk.
constexpr char kPartialSuffix[] = ".part";

bool IsWholeFile(uint16_t id) {
    return id == ZVM_UPDATE_FILEDATA || id == ZVM_UPDATE_GETSIBLINGFILEQ || id == ZVM_UPDATE_FILEDATA2;
}

}  // namespace

CFileDownloader::CFileDownloader(CZVServer& server, CDownloadTracker* tracker, std::string fileName)
    : CSocketSink(server),
      m_fileName(std::move(fileName)),
      m_tracker(tracker),
      m_lastData(platform::GetTickCount()),
      m_variant(server.GetVariant()) {
    server.RegisterSink(this);
}

CFileDownloader::~CFileDownloader() = default;

int CFileDownloader::Download(CZVMSG* request) {
    CZVServer* server = GetServer();
    if (!server || !server->Send(request))
        return 0;
    CZVSocket* socket = server->GetSocket();
    socket->SetTracker(this);
    m_lastData = platform::GetTickCount();
    while (m_state == kWaiting && !(m_tracker && m_tracker->IsCancelled()) &&
           platform::TicksSince(m_lastData) <= kSilenceLimit) {
        const int polled = server->Poll(nullptr, GetId());
        if (polled == CZVServer::kPollDown) {
            server->UnregisterSink(this);
            socket->Disconnect();
            break;
        }
        if (polled == CZVServer::kPollIdle)
            platform::Sleep(kIdleSleepMs);
    }
    socket->SetTracker(nullptr);
    return m_state == kWritten ? 1 : 0;
}

void CFileDownloader::OnMessage(CZVMSG* message) {
    if (!message || message->GetSenderId() != GetId() || m_state != kWaiting)
        return;
    if (IsWholeFile(message->GetId()))
        ReceiveFile(*message);
    else if (message->GetId() == ZVM_UPDATE_FILECHUNK)
        ReceiveChunk(*message);
    else
        m_state = kFailed;
}

void CFileDownloader::OnTraffic(uint16_t id, uint16_t sender, int32_t received, int32_t length) {
    (void)sender;
    if (!IsWholeFile(id))
        return;
    Progress(received, length);
    m_lastData = platform::GetTickCount();
}

void CFileDownloader::ReceiveFile(CZVMSG& message) {
    int32_t length = 0;
    // The file must be all there: no more than the message carries after its length.
    if (!message.ReadInt(length) || length < 0 || length > message.GetLength() - kLengthField) {
        m_state = kFailed;
        return;
    }
    WriteFile(message.GetData() + kLengthField, length);
}

void CFileDownloader::ReceiveChunk(CZVMSG& message) {
    m_lastData = platform::GetTickCount();
    int32_t total = 0;
    int32_t length = 0;
    if (!message.ReadInt(total) || !message.ReadInt(length) || total < 0 || length < 0) {
        m_state = kFailed;
        return;
    }
    if (!m_chunks) {
        m_chunks.reset(new (std::nothrow) uint8_t[total > 0 ? total : 1]);
        if (!m_chunks) {
            Report(kReportNoBuffer);
            m_state = kFailed;
            return;
        }
        m_total = total;
    } else if (total != m_total) {
        Report(kReportOtherTotal);
    }
    // A chunk must fit in what the first chunk announced, and the message must hold it.
    if (length > m_total - m_received) {
        m_state = kFailed;
        return;
    }
    Progress(m_received, m_total);
    if (!message.ReadBytes(m_chunks.get() + m_received, length)) {
        m_state = kFailed;
        return;
    }
    m_received += length;
    if (m_received == m_total)
        WriteFile(m_chunks.get(), m_total);
}

void CFileDownloader::Progress(int32_t bytesSoFar, int32_t totalBytes) {
    if (m_tracker)
        m_tracker->OnProgress(bytesSoFar, totalBytes);
}

void CFileDownloader::WriteFile(const uint8_t* bytes, int32_t count) {
    const std::string_view contents(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    m_state = platform::ReplaceFile(m_fileName, m_fileName + kPartialSuffix, std::nullopt, contents) ? kWritten
                                                                                                    : kFailed;
}

void CFileDownloader::Report(int line) const {
    if (m_variant == ZVVariant::Tablet)
        ReportAssert(kSource, line, 1);
}
