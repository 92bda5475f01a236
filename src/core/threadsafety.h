#pragma once
// Annotations for clang's thread-safety analysis (-Wthread-safety), with a
// mutex and a scoped lock that carry them: a member marked ZV_GUARDED_BY(m)
// is read or written only while m is held, and the compiler checks it.
// Other compilers see plain code.
#include <mutex>

#if defined(__clang__)
#define ZV_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define ZV_THREAD_ANNOTATION(x)
#endif

#define ZV_CAPABILITY(x) ZV_THREAD_ANNOTATION(capability(x))
#define ZV_SCOPED_CAPABILITY ZV_THREAD_ANNOTATION(scoped_lockable)
#define ZV_GUARDED_BY(x) ZV_THREAD_ANNOTATION(guarded_by(x))
#define ZV_REQUIRES(...) ZV_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define ZV_ACQUIRE(...) ZV_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define ZV_RELEASE(...) ZV_THREAD_ANNOTATION(release_capability(__VA_ARGS__))

class ZV_CAPABILITY("mutex") CGuardMutex {
public:
    void lock() ZV_ACQUIRE() { m_mutex.lock(); }
    void unlock() ZV_RELEASE() { m_mutex.unlock(); }

private:
    std::mutex m_mutex;
};

// Holds the mutex for its scope.
class ZV_SCOPED_CAPABILITY CGuardLock {
public:
    explicit CGuardLock(CGuardMutex& mutex) ZV_ACQUIRE(mutex) : m_mutex(mutex) { m_mutex.lock(); }
    ~CGuardLock() ZV_RELEASE() { m_mutex.unlock(); }
    CGuardLock(const CGuardLock&) = delete;
    CGuardLock& operator=(const CGuardLock&) = delete;

private:
    CGuardMutex& m_mutex;
};
