#pragma once
// One tablet per user: the first copy holds a lock file named after the
// mutex "VistrelMutex" and listens on a Unix-domain socket beside it; a
// second copy that cannot take the lock knocks on that socket, so that the
// first raises its window, and exits.
#include <cstdint>
#include <string>

// $XDG_RUNTIME_DIR when it names an absolute path, else /tmp/zavoro-<uid>
// (made with mode 0700).
std::string NamedLockDirectory();

class CNamedLock {
public:
    CNamedLock(const std::string& name, const std::string& directory);
    ~CNamedLock();
    CNamedLock(const CNamedLock&) = delete;
    CNamedLock& operator=(const CNamedLock&) = delete;

    // Takes the lock, trying for at most waitMs; true when held.
    bool Acquire(uint32_t waitMs);
    void Release();
    bool IsHeld() const { return m_fd != -1; }
    // Someone else holds the lock now (a probe that, when it gets the lock,
    // gives it back at once).
    bool IsHeldElsewhere() const;
    const std::string& GetPath() const { return m_path; }

private:
    std::string m_path;
    int m_fd = -1;
};

// The first copy's side: a listening socket at path (a stale one is
// replaced), never blocking.
class CRaiseListener {
public:
    CRaiseListener() = default;
    ~CRaiseListener();
    CRaiseListener(const CRaiseListener&) = delete;
    CRaiseListener& operator=(const CRaiseListener&) = delete;

    bool Open(const std::string& path);
    void Close();
    // Accepts every knock that waits; how many there were.
    int TakeRequests();

private:
    std::string m_path;
    int m_fd = -1;
};

// The second copy's side: true when a first copy took the knock.
bool AskToRaise(const std::string& path);

// What the start-up does about other copies.
class CSingleInstance {
public:
    static constexpr uint32_t kLockWait = 100;  // ms

    explicit CSingleInstance(const std::string& directory = NamedLockDirectory());

    // True when this is the only copy (it then listens for knocks); false
    // after knocking on the first copy's door.
    bool Claim();
    int TakeRaiseRequests() { return m_listener.TakeRequests(); }
    // Lets another copy (the self-update's new program) take the lock and
    // the door; Claim takes them back.
    void Release();
    bool IsHeldElsewhere() const { return m_lock.IsHeldElsewhere(); }

private:
    CNamedLock m_lock;
    std::string m_doorPath;
    CRaiseListener m_listener;
};
