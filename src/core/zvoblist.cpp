#include "core/zvoblist.h"

#include <new>

CZVObListNode::CZVObListNode(CZVObListNode* next, CZVObListNode* prev, void* data)
    : m_prev(prev), m_next(next), m_data(data) {
    if (next) next->m_prev = this;
    if (prev) prev->m_next = this;
}

CZVObList::~CZVObList() { RemoveAll(); }

void* CZVObList::GetHead() const { return m_head ? m_head->GetData() : nullptr; }

void* CZVObList::GetTail() const { return m_tail ? m_tail->GetData() : nullptr; }

void* CZVObList::GetAt(ZVPOSITION position) const { return position ? position->GetData() : nullptr; }

void* CZVObList::GetNext(ZVPOSITION& position) const {
    if (!position) return nullptr;
    void* data = position->GetData();
    position = position->GetNext();
    return data;
}

void* CZVObList::GetPrev(ZVPOSITION& position) const {
    if (!position) return nullptr;
    void* data = position->GetData();
    position = position->GetPrev();
    return data;
}

ZVPOSITION CZVObList::Find(void* data) const {
    for (CZVObListNode* node = m_head; node; node = node->GetNext())
        if (node->GetData() == data) return node;
    return nullptr;
}

ZVPOSITION CZVObList::FindIndex(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    // Walk from whichever end is nearer.
    CZVObListNode* node = nullptr;
    if (index >= m_count / 2) {
        node = m_tail;
        for (int j = m_count - 1; j > index; --j) node = node->GetPrev();
    } else {
        node = m_head;
        for (int j = 0; j < index; ++j) node = node->GetNext();
    }
    return node;
}

CZVObList* CZVObList::AddHead(void* data) {
    CZVObListNode* node = new (std::nothrow) CZVObListNode(m_head, nullptr, data);
    if (!node) return nullptr;
    m_head = node;
    if (!m_tail) m_tail = node;
    ++m_count;
    return this;
}

CZVObList* CZVObList::Add(void* data, int) { return AddTail(data); }

CZVObList* CZVObList::AddTail(void* data) {
    CZVObListNode* node = new (std::nothrow) CZVObListNode(nullptr, m_tail, data);
    if (!node) return nullptr;
    m_tail = node;
    if (!m_head) m_head = node;
    ++m_count;
    return this;
}

int CZVObList::InsertBefore(ZVPOSITION position, void* data) {
    if (!position) return AddTail(data) ? m_count : 0;
    CZVObListNode* node = new (std::nothrow) CZVObListNode(position, position->GetPrev(), data);
    if (!node) return 0;
    if (position == m_head) m_head = node;
    return ++m_count;
}

int CZVObList::InsertListAt(const CZVObList& other, void* item) {
    // Read first: the other list may be this one.
    const int added = other.m_count;
    if (added == 0) return 0;
    // The new nodes are linked among themselves first, so that a failed
    // allocation leaves this list as it was.
    CZVObListNode* first = nullptr;
    CZVObListNode* last = nullptr;
    for (CZVObListNode* node = other.m_head; node; node = node->GetNext()) {
        CZVObListNode* copy = new (std::nothrow) CZVObListNode(nullptr, last, node->GetData());
        if (!copy) {
            while (first) {
                CZVObListNode* next = first->GetNext();
                delete first;
                first = next;
            }
            return 0;
        }
        if (!first) first = copy;
        last = copy;
    }
    CZVObListNode* behind = Find(item);
    if (!behind) behind = m_tail;
    CZVObListNode* after = behind ? behind->GetNext() : m_head;
    first->SetPrev(behind);
    last->SetNext(after);
    if (behind)
        behind->SetNext(first);
    else
        m_head = first;
    if (after)
        after->SetPrev(last);
    else
        m_tail = last;
    m_count += added;
    return added;
}

void CZVObList::Remove(void* data) { RemoveAt(Find(data)); }

void* CZVObList::RemoveHead() {
    void* data = GetHead();
    RemoveAt(m_head);
    return data;
}

void* CZVObList::RemoveTail() {
    void* data = GetTail();
    RemoveAt(m_tail);
    return data;
}

void CZVObList::RemoveAt(ZVPOSITION position) {
    if (!position) return;
    CZVObListNode* prev = position->GetPrev();
    CZVObListNode* next = position->GetNext();
    if (prev)
        prev->SetNext(next);
    else
        m_head = next;
    if (next)
        next->SetPrev(prev);
    else
        m_tail = prev;
    delete position;
    --m_count;
}

void CZVObList::RemoveAll() {
    while (m_head) RemoveAt(m_head);
}

CZVObList* CZVObList::Clone() const {
    CZVObList* copy = new (std::nothrow) CZVObList;
    if (!copy) return nullptr;
    for (CZVObListNode* node = m_head; node; node = node->GetNext()) {
        if (!copy->AddTail(node->GetData())) {
            delete copy;
            return nullptr;
        }
    }
    return copy;
}
