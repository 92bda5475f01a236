#pragma once
// A doubly linked list of object pointers, addressed through positions (its
// nodes). The list never deletes the objects it holds: removing, emptying or
// destroying it frees only its nodes, and an owner deletes its items itself.
//
//   for (ZVPOSITION pos = list.GetHeadPosition(); pos;) {
//       Item* item = static_cast<Item*>(list.GetNext(pos));  // may remove item
//   }

class CZVObListNode {
public:
    explicit CZVObListNode(void* data) : m_data(data) {}
    // Links the new node between the two given nodes (either may be null).
    CZVObListNode(CZVObListNode* next, CZVObListNode* prev, void* data);
    // A new, unlinked node holding the same item.
    CZVObListNode(const CZVObListNode& other) : m_data(other.m_data) {}
    CZVObListNode& operator=(const CZVObListNode&) = delete;

    CZVObListNode* GetNext() const { return m_next; }
    CZVObListNode* GetPrev() const { return m_prev; }
    void* GetData() const { return m_data; }
    void SetNext(CZVObListNode* next) { m_next = next; }
    void SetPrev(CZVObListNode* prev) { m_prev = prev; }

private:
    CZVObListNode* m_prev = nullptr;
    CZVObListNode* m_next = nullptr;
    void* m_data;
};

// A position stays valid until its node is removed.
using ZVPOSITION = CZVObListNode*;

class CZVObList {
public:
    CZVObList() = default;
    // Two lists must never share nodes: copy through Clone.
    CZVObList(const CZVObList&) = delete;
    CZVObList& operator=(const CZVObList&) = delete;
    virtual ~CZVObList();

    virtual bool IsEmpty() const { return m_head == nullptr; }
    virtual int GetCount() const { return m_count; }
    // Null when empty.
    virtual void* GetHead() const;
    virtual void* GetTail() const;
    virtual ZVPOSITION GetHeadPosition() const { return m_head; }
    virtual ZVPOSITION GetTailPosition() const { return m_tail; }
    // Null for a null position.
    virtual void* GetAt(ZVPOSITION position) const;
    // The item at the position; the position moves on to the next (previous)
    // node, null past the end. A null position gives null and stays null.
    virtual void* GetNext(ZVPOSITION& position) const;
    virtual void* GetPrev(ZVPOSITION& position) const;
    // The first node from the head holding exactly that pointer, else null.
    virtual ZVPOSITION Find(void* data) const;
    // The node at a zero-based index; null for an index outside 0..count-1.
    virtual ZVPOSITION FindIndex(int index) const;

    // These return the list, or null (the list unchanged) when no node could
    // be allocated.
    virtual CZVObList* AddHead(void* data);
    virtual CZVObList* Add(void* data, int unused);
    virtual CZVObList* AddTail(void* data);
    // A new node in front of the position's node; a null position appends.
    // Returns the new count, 0 when no node could be allocated.
    virtual int InsertBefore(ZVPOSITION position, void* data);
    // The other list's items, in their order, directly behind the first node
    // holding `item`, or at the tail when no node holds it. Both lists hold
    // the items afterwards; the other list is not changed. Returns the other
    // list's count; 0, and this list unchanged, when the nodes could not be
    // allocated.
    virtual int InsertListAt(const CZVObList& other, void* item);

    virtual bool Contains(void* data) const { return Find(data) != nullptr; }
    // Frees the first node holding the pointer; nothing when none does.
    virtual void Remove(void* data);
    // The item of the node freed; null when empty.
    virtual void* RemoveHead();
    virtual void* RemoveTail();
    // A null position does nothing.
    virtual void RemoveAt(ZVPOSITION position);
    virtual void RemoveAll();
    // A new list, owned by the caller, with nodes of its own holding the same
    // items in the same order; null when the nodes could not be allocated.
    virtual CZVObList* Clone() const;

private:
    CZVObListNode* m_head = nullptr;
    CZVObListNode* m_tail = nullptr;
    int m_count = 0;
};
