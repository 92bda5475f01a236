#include "core/zvoblist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A list holding pointers into a fixed array of items, so that tests can
// check order and that the list never frees an item.
class ObList : public testing::Test {
protected:
    void Fill(int count) {
        for (int i = 0; i < count; ++i) m_list.AddTail(&m_items[i]);
    }

    // The list's items as indices, from the head, checked against a walk back
    // from the tail and the count.
    std::vector<int> Contents(const CZVObList& list) const {
        std::vector<int> forward;
        for (ZVPOSITION pos = list.GetHeadPosition(); pos;)
            forward.push_back(static_cast<int>(static_cast<int*>(list.GetNext(pos)) - m_items));
        std::vector<int> backward;
        for (ZVPOSITION pos = list.GetTailPosition(); pos;)
            backward.insert(backward.begin(), static_cast<int>(static_cast<int*>(list.GetPrev(pos)) - m_items));
        EXPECT_EQ(forward, backward);
        EXPECT_EQ(static_cast<int>(forward.size()), list.GetCount());
        EXPECT_EQ(list.IsEmpty(), forward.empty());
        return forward;
    }

    int m_items[10] = {};
    CZVObList m_list;
};

using testing::ElementsAre;
using testing::IsEmpty;

TEST_F(ObList, AddsAtBothEndsAndInsertsBefore) {
    EXPECT_EQ(m_list.AddTail(&m_items[1]), &m_list);
    EXPECT_EQ(m_list.AddHead(&m_items[0]), &m_list);
    EXPECT_EQ(m_list.Add(&m_items[2], 99), &m_list);
    EXPECT_EQ(m_list.InsertBefore(m_list.GetHeadPosition(), &m_items[3]), 4);
    EXPECT_EQ(m_list.InsertBefore(m_list.Find(&m_items[2]), &m_items[4]), 5);
    EXPECT_NE(m_list.InsertBefore(nullptr, &m_items[5]), 0);
    EXPECT_THAT(Contents(m_list), ElementsAre(3, 0, 1, 4, 2, 5));
    EXPECT_EQ(m_list.GetHead(), &m_items[3]);
    EXPECT_EQ(m_list.GetTail(), &m_items[5]);
}

TEST_F(ObList, InsertsAListBehindAnItemOrAtTheTail) {
    CZVObList other;
    other.AddTail(&m_items[7]);
    other.AddTail(&m_items[8]);
    const struct {
        const char* where;
        int count;
        int behind;  // index of the item the list goes behind; -1: one not in the list
        std::vector<int> result;
    } cases[] = {
        {"in the middle", 3, 0, {0, 7, 8, 1, 2}},
        {"behind the last", 3, 2, {0, 1, 2, 7, 8}},
        {"an item not held", 3, -1, {0, 1, 2, 7, 8}},
        {"into an empty list", 0, -1, {7, 8}},
    };
    for (const auto& c : cases) {
        m_list.RemoveAll();
        Fill(c.count);
        void* item = c.behind < 0 ? &m_items[9] : &m_items[c.behind];
        EXPECT_EQ(m_list.InsertListAt(other, item), 2) << c.where;
        EXPECT_EQ(Contents(m_list), c.result) << c.where;
        EXPECT_EQ(m_list.GetTail(), &m_items[c.result.back()]) << c.where;
        EXPECT_THAT(Contents(other), ElementsAre(7, 8)) << c.where;
    }
    // A list may take itself in: its items, as they were, behind the first.
    m_list.RemoveAll();
    Fill(2);
    EXPECT_EQ(m_list.InsertListAt(m_list, &m_items[0]), 2);
    EXPECT_THAT(Contents(m_list), ElementsAre(0, 0, 1, 1));
    EXPECT_EQ(m_list.InsertListAt(CZVObList(), &m_items[0]), 0);
    EXPECT_EQ(m_list.GetCount(), 4);
}

TEST_F(ObList, FindIndexCoversExactlyTheNodes) {
    EXPECT_EQ(m_list.FindIndex(0), nullptr);
    Fill(7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(m_list.GetAt(m_list.FindIndex(i)), &m_items[i]) << i;
    EXPECT_EQ(m_list.FindIndex(6), m_list.GetTailPosition());
    EXPECT_EQ(m_list.FindIndex(7), nullptr);
    EXPECT_EQ(m_list.FindIndex(-1), nullptr);
    EXPECT_EQ(m_list.FindIndex(-100), nullptr);
}

TEST_F(ObList, RemovalsFreeNodesNotItems) {
    Fill(4);
    m_list.AddTail(&m_items[1]);  // held twice
    m_list.Remove(&m_items[1]);
    EXPECT_THAT(Contents(m_list), ElementsAre(0, 2, 3, 1));
    m_list.Remove(&m_items[1]);
    EXPECT_THAT(Contents(m_list), ElementsAre(0, 2, 3));
    m_list.Remove(&m_items[9]);  // not held
    EXPECT_EQ(m_list.RemoveTail(), &m_items[3]);
    EXPECT_EQ(m_list.RemoveHead(), &m_items[0]);
    m_list.RemoveAt(nullptr);
    m_list.RemoveAt(m_list.GetHeadPosition());
    EXPECT_THAT(Contents(m_list), IsEmpty());
    EXPECT_EQ(m_list.GetHeadPosition(), nullptr);
    EXPECT_EQ(m_list.GetTailPosition(), nullptr);
    EXPECT_EQ(m_list.RemoveHead(), nullptr);
    EXPECT_EQ(m_list.RemoveTail(), nullptr);
    EXPECT_EQ(m_list.GetCount(), 0);
    EXPECT_EQ(m_list.GetHead(), nullptr);
}

TEST_F(ObList, AnIterationMayRemoveTheItemItJustGot) {
    Fill(6);
    for (ZVPOSITION pos = m_list.GetHeadPosition(); pos;) {
        int* item = static_cast<int*>(m_list.GetNext(pos));
        if ((item - m_items) % 2 == 0) m_list.Remove(item);
    }
    EXPECT_THAT(Contents(m_list), ElementsAre(1, 3, 5));
    EXPECT_TRUE(m_list.Contains(&m_items[3]));
    EXPECT_FALSE(m_list.Contains(&m_items[4]));
    ZVPOSITION none = nullptr;
    EXPECT_EQ(m_list.GetNext(none), nullptr);
    EXPECT_EQ(m_list.GetPrev(none), nullptr);
    EXPECT_EQ(m_list.GetAt(nullptr), nullptr);
}

TEST_F(ObList, DestroyingAListLeavesItsItemsAlive) {
    auto owned = std::make_shared<int>(5);
    {
        CZVObList list;
        list.AddTail(owned.get());
        list.AddTail(nullptr);
        EXPECT_EQ(list.GetCount(), 2);
    }
    EXPECT_EQ(owned.use_count(), 1);
    EXPECT_EQ(*owned, 5);
}

TEST_F(ObList, ACloneOwnsItsNodes) {
    Fill(3);
    std::unique_ptr<CZVObList> clone(m_list.Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_THAT(Contents(*clone), ElementsAre(0, 1, 2));
    EXPECT_NE(clone->GetHeadPosition(), m_list.GetHeadPosition());
    // Each list changes and ends on its own; the sanitizer sees no node freed twice.
    clone->RemoveHead();
    m_list.AddTail(&m_items[3]);
    EXPECT_THAT(Contents(*clone), ElementsAre(1, 2));
    EXPECT_THAT(Contents(m_list), ElementsAre(0, 1, 2, 3));
    clone.reset();
    EXPECT_THAT(Contents(m_list), ElementsAre(0, 1, 2, 3));
    std::unique_ptr<CZVObList> empty(CZVObList().Clone());
    EXPECT_THAT(Contents(*empty), IsEmpty());
}

}  // namespace
