#include "av/syncoblist.h"

bool CSyncObList::IsEmpty() const {
    auto lock = Lock();
    return CZVObList::IsEmpty();
}

int CSyncObList::GetCount() const {
    auto lock = Lock();
    return CZVObList::GetCount();
}

void* CSyncObList::GetHead() const {
    auto lock = Lock();
    return CZVObList::GetHead();
}

void* CSyncObList::GetTail() const {
    auto lock = Lock();
    return CZVObList::GetTail();
}

ZVPOSITION CSyncObList::GetHeadPosition() const {
    auto lock = Lock();
    return CZVObList::GetHeadPosition();
}

ZVPOSITION CSyncObList::GetTailPosition() const {
    auto lock = Lock();
    return CZVObList::GetTailPosition();
}

void* CSyncObList::GetAt(ZVPOSITION position) const {
    auto lock = Lock();
    return CZVObList::GetAt(position);
}

void* CSyncObList::GetNext(ZVPOSITION& position) const {
    auto lock = Lock();
    return CZVObList::GetNext(position);
}

void* CSyncObList::GetPrev(ZVPOSITION& position) const {
    auto lock = Lock();
    return CZVObList::GetPrev(position);
}

ZVPOSITION CSyncObList::Find(void* data) const {
    auto lock = Lock();
    return CZVObList::Find(data);
}

ZVPOSITION CSyncObList::FindIndex(int index) const {
    auto lock = Lock();
    return CZVObList::FindIndex(index);
}

CZVObList* CSyncObList::AddHead(void* data) {
    auto lock = Lock();
    return CZVObList::AddHead(data);
}

CZVObList* CSyncObList::Add(void* data, int unused) {
    auto lock = Lock();
    return CZVObList::Add(data, unused);
}

CZVObList* CSyncObList::AddTail(void* data) {
    auto lock = Lock();
    return CZVObList::AddTail(data);
}

int CSyncObList::InsertBefore(ZVPOSITION position, void* data) {
    auto lock = Lock();
    return CZVObList::InsertBefore(position, data);
}

int CSyncObList::InsertListAt(const CZVObList& other, void* item) {
    auto lock = Lock();
    return CZVObList::InsertListAt(other, item);
}

bool CSyncObList::Contains(void* data) const {
    auto lock = Lock();
    return CZVObList::Contains(data);
}

void CSyncObList::Remove(void* data) {
    auto lock = Lock();
    CZVObList::Remove(data);
}

void* CSyncObList::RemoveHead() {
    auto lock = Lock();
    return CZVObList::RemoveHead();
}

void* CSyncObList::RemoveTail() {
    auto lock = Lock();
    return CZVObList::RemoveTail();
}

void CSyncObList::RemoveAt(ZVPOSITION position) {
    auto lock = Lock();
    CZVObList::RemoveAt(position);
}

void CSyncObList::RemoveAll() {
    auto lock = Lock();
    CZVObList::RemoveAll();
}

CZVObList* CSyncObList::Clone() const {
    auto lock = Lock();
    return CZVObList::Clone();
}
