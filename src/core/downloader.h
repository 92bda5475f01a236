#pragma once
// CFileDownloader fetches one file from the gateway: it sends the caller's request, pumps the
// connection until the file has come (whole, or in chunks), the gateway has been silent for
// 15 s, the owner cancels or the connection is lost, and writes the file. The file appears
// under its name only once every byte has been written; a failed download leaves nothing.
//
//   CFileDownloader downloader(server, &tracker, path);
//   CZVMSG request(downloader.GetId(), ZVM_UPDATE_GETTABLETFILEQ);
//   if (downloader.Download(&request)) ...
#include <cstdint>
#include <memory>
#include <string>

#include "core/zvserver.h"
#include "core/zvsocket.h"
#include "core/messages/coremessages.h"

// The download's owner: it sees the progress and may cancel.
class CDownloadTracker {
public:
    virtual ~CDownloadTracker() = default;
    virtual void OnProgress(int32_t bytesSoFar, int32_t totalBytes) { (void)bytesSoFar, (void)totalBytes; }
    // Non-zero stops the download.
    virtual int IsCancelled() { return 0; }
};

class CFileDownloader : public CSocketSink, public CMessageTracker {
public:
    enum State { kWaiting = 0, kFailed = 1, kWritten = 2 };
    // The gateway counts as gone after this long without a sign of data.
    static constexpr uint32_t kSilenceLimit = 15000;

    // Registers with the manager under a fresh sink id. The tracker may be null.
    CFileDownloader(CZVServer& server, CDownloadTracker* tracker, std::string fileName);
    ~CFileDownloader() override;

    // Sends the request, which must carry this downloader's sink id, and waits for the file.
    // 1 when it was written.
    int Download(CZVMSG* request);
    int GetState() const { return m_state; }

    void OnMessage(CZVMSG* message) override;
    void OnTraffic(uint16_t id, uint16_t sender, int32_t received, int32_t length) override;

private:
    void ReceiveFile(CZVMSG& message);
    void ReceiveChunk(CZVMSG& message);
    void Progress(int32_t bytesSoFar, int32_t totalBytes);
    // Writes the bytes under a temporary name, synced, and renames the file into place; the
    // state tells how it went.
    void WriteFile(const uint8_t* bytes, int32_t count);
    void Report(int line) const;

    int m_state = kWaiting;
    std::unique_ptr<uint8_t[]> m_chunks;  // the whole file while chunks arrive
    int32_t m_total = 0;
    int32_t m_received = 0;
    std::string m_fileName;
    CDownloadTracker* m_tracker;
    uint32_t m_lastData;
    const ZVVariant m_variant;
};
