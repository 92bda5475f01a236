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
        for (int i = 0; i < count; ++i) list_.AddTail(&items_[i]);
    }

    // The list's items as indices, from the head, checked against a walk back
    // from the tail and the count.
    std::vector<int> Contents(const CZVObList& list) const {
        std::vector<int> forward;
        for (ZVPOSITION pos = list.GetHeadPosition(); pos;)
            forward.push_back(static_cast<int>(static_cast<int*>(list.GetNext(pos)) - items_));
        std::vector<int> backward;
        for (ZVPOSITION pos = list.GetTailPosition(); pos;)
            backward.insert(backward.begin(), static_cast<int>(static_cast<int*>(list.GetPrev(pos)) - items_));
        EXPECT_EQ(forward, backward);
        EXPECT_EQ(static_cast<int>(forward.size()), list.GetCount());
        EXPECT_EQ(list.IsEmpty(), forward.empty());
        return forward;
    }

    int items_[10] = {};
    CZVObList list_;
};

using testing::ElementsAre;
using testing::IsEmpty;

TEST_F(ObList, AddsAtBothEndsAndInsertsBefore) {
    EXPECT_EQ(list_.AddTail(&items_[1]), &list_);
    EXPECT_EQ(list_.AddHead(&items_[0]), &list_);
    EXPECT_EQ(list_.Add(&items_[2], 99), &list_);
    EXPECT_EQ(list_.InsertBefore(list_.GetHeadPosition(), &items_[3]), 4);
    EXPECT_EQ(list_.InsertBefore(list_.Find(&items_[2]), &items_[4]), 5);
    EXPECT_NE(list_.InsertBefore(nullptr, &items_[5]), 0);
    EXPECT_THAT(Contents(list_), ElementsAre(3, 0, 1, 4, 2, 5));
    EXPECT_EQ(list_.GetHead(), &items_[3]);
    EXPECT_EQ(list_.GetTail(), &items_[5]);
}

TEST_F(ObList, InsertsAListBehindAnItemOrAtTheTail) {
    CZVObList other;
    other.AddTail(&items_[7]);
    other.AddTail(&items_[8]);
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
        list_.RemoveAll();
        Fill(c.count);
        void* item = c.behind < 0 ? &items_[9] : &items_[c.behind];
        EXPECT_EQ(list_.InsertListAt(other, item), 2) << c.where;
        EXPECT_EQ(Contents(list_), c.result) << c.where;
        EXPECT_EQ(list_.GetTail(), &items_[c.result.back()]) << c.where;
        EXPECT_THAT(Contents(other), ElementsAre(7, 8)) << c.where;
    }
    // A list may take itself in: its items, as they were, behind the first.
    list_.RemoveAll();
    Fill(2);
    EXPECT_EQ(list_.InsertListAt(list_, &items_[0]), 2);
    EXPECT_THAT(Contents(list_), ElementsAre(0, 0, 1, 1));
    EXPECT_EQ(list_.InsertListAt(CZVObList(), &items_[0]), 0);
    EXPECT_EQ(list_.GetCount(), 4);
}

TEST_F(ObList, FindIndexCoversExactlyTheNodes) {
    EXPECT_EQ(list_.FindIndex(0), nullptr);
    Fill(7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(list_.GetAt(list_.FindIndex(i)), &items_[i]) << i;
    EXPECT_EQ(list_.FindIndex(6), list_.GetTailPosition());
    EXPECT_EQ(list_.FindIndex(7), nullptr);
    EXPECT_EQ(list_.FindIndex(-1), nullptr);
    EXPECT_EQ(list_.FindIndex(-100), nullptr);
}

TEST_F(ObList, RemovalsFreeNodesNotItems) {
    Fill(4);
    list_.AddTail(&items_[1]);  // held twice
    list_.Remove(&items_[1]);
    EXPECT_THAT(Contents(list_), ElementsAre(0, 2, 3, 1));
    list_.Remove(&items_[1]);
    EXPECT_THAT(Contents(list_), ElementsAre(0, 2, 3));
    list_.Remove(&items_[9]);  // not held
    EXPECT_EQ(list_.RemoveTail(), &items_[3]);
    EXPECT_EQ(list_.RemoveHead(), &items_[0]);
    list_.RemoveAt(nullptr);
    list_.RemoveAt(list_.GetHeadPosition());
    EXPECT_THAT(Contents(list_), IsEmpty());
    EXPECT_EQ(list_.GetHeadPosition(), nullptr);
    EXPECT_EQ(list_.GetTailPosition(), nullptr);
    EXPECT_EQ(list_.RemoveHead(), nullptr);
    EXPECT_EQ(list_.RemoveTail(), nullptr);
    EXPECT_EQ(list_.GetCount(), 0);
    EXPECT_EQ(list_.GetHead(), nullptr);
}

TEST_F(ObList, AnIterationMayRemoveTheItemItJustGot) {
    Fill(6);
    for (ZVPOSITION pos = list_.GetHeadPosition(); pos;) {
        int* item = static_cast<int*>(list_.GetNext(pos));
        if ((item - items_) % 2 == 0) list_.Remove(item);
    }
    EXPECT_THAT(Contents(list_), ElementsAre(1, 3, 5));
    EXPECT_TRUE(list_.Contains(&items_[3]));
    EXPECT_FALSE(list_.Contains(&items_[4]));
    ZVPOSITION none = nullptr;
    EXPECT_EQ(list_.GetNext(none), nullptr);
    EXPECT_EQ(list_.GetPrev(none), nullptr);
    EXPECT_EQ(list_.GetAt(nullptr), nullptr);
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
    std::unique_ptr<CZVObList> clone(list_.Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_THAT(Contents(*clone), ElementsAre(0, 1, 2));
    EXPECT_NE(clone->GetHeadPosition(), list_.GetHeadPosition());
    // Each list changes and ends on its own; the sanitizer sees no node freed twice.
    clone->RemoveHead();
    list_.AddTail(&items_[3]);
    EXPECT_THAT(Contents(*clone), ElementsAre(1, 2));
    EXPECT_THAT(Contents(list_), ElementsAre(0, 1, 2, 3));
    clone.reset();
    EXPECT_THAT(Contents(list_), ElementsAre(0, 1, 2, 3));
    std::unique_ptr<CZVObList> empty(CZVObList().Clone());
    EXPECT_THAT(Contents(*empty), IsEmpty());
}

}  // namespace
