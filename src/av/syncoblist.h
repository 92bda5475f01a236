#pragma once
// A list of item pointers whose every operation runs under the list's own
// recursive lock, so the sound system's thread and the main thread can share
// it. A caller that walks and edits the list in several steps holds Lock().
#include <mutex>

#include "core/zvoblist.h"

class CSyncObList : public CZVObList {
public:
    std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(m_mutex); }

    bool IsEmpty() const override;
    int GetCount() const override;
    void* GetHead() const override;
    void* GetTail() const override;
    ZVPOSITION GetHeadPosition() const override;
    ZVPOSITION GetTailPosition() const override;
    void* GetAt(ZVPOSITION position) const override;
    void* GetNext(ZVPOSITION& position) const override;
    void* GetPrev(ZVPOSITION& position) const override;
    ZVPOSITION Find(void* data) const override;
    ZVPOSITION FindIndex(int index) const override;
    CZVObList* AddHead(void* data) override;
    CZVObList* Add(void* data, int unused) override;
    CZVObList* AddTail(void* data) override;
    int InsertBefore(ZVPOSITION position, void* data) override;
    int InsertListAt(const CZVObList& other, void* item) override;
    bool Contains(void* data) const override;
    void Remove(void* data) override;
    void* RemoveHead() override;
    void* RemoveTail() override;
    void RemoveAt(ZVPOSITION position) override;
    void RemoveAll() override;
    CZVObList* Clone() const override;

private:
    mutable std::recursive_mutex m_mutex;
};
