#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/model/chain.h"

namespace zam1 {
namespace {

TEST(Chain, ClearingResetsEveryRecordAsANewProjectHasIt) {
    auto chain = std::make_unique<Chain>();
    chain->element(7).distance = 3;
    chain->element(7).isoLetters = "H";
    chain->closing(3).toElement = 9;
    chain->setElementCount(7);
    chain->setClosingCount(3);
    chain->clear();
    EXPECT_EQ(chain->elementCount(), 0);
    EXPECT_EQ(chain->closingCount(), 0);
    EXPECT_EQ(chain->element(0).text, "");
    const Element& e = chain->element(7);
    EXPECT_EQ(e.text, "..........");
    EXPECT_EQ(e.distance, 0);
    EXPECT_EQ(e.positive, 1);
    EXPECT_FALSE(e.hasIsoCode());
    EXPECT_EQ(chain->element(kMaxElements).text, "..........");
    const ClosingDimension& c = chain->closing(3);
    EXPECT_EQ(c.fromElement, 3);
    EXPECT_EQ(c.toElement, 0);
    EXPECT_EQ(c.text, "................");
    EXPECT_EQ(chain->closing(kMaxClosing).fromElement, kMaxClosing);
}

TEST(Chain, LimitsAreKept) {
    auto chain = std::make_unique<Chain>();
    EXPECT_TRUE(chain->setElementCount(kMaxElements));
    EXPECT_FALSE(chain->setElementCount(kMaxElements + 1));
    EXPECT_FALSE(chain->setElementCount(-1));
    EXPECT_EQ(chain->elementCount(), kMaxElements);
    EXPECT_FALSE(chain->insertElement(1)) << "a 2501st element";
    EXPECT_TRUE(chain->setClosingCount(kMaxClosing));
    EXPECT_FALSE(chain->insertClosing(kMaxClosing + 1));
    EXPECT_FALSE(chain->setClosingCount(kMaxClosing + 1));
    EXPECT_THROW(chain->element(kMaxElements + 1), std::out_of_range);
    EXPECT_THROW(chain->closing(0), std::out_of_range);
}

TEST(Chain, InsertAndDeleteShiftRecordsButNotReferences) {
    auto chain = std::make_unique<Chain>();
    for (int n = 1; n <= 3; ++n) {
        chain->element(n).text = "E" + std::to_string(n);
        chain->element(n).predecessor = n - 1;
    }
    chain->setElementCount(3);
    ASSERT_TRUE(chain->insertElement(2));
    EXPECT_EQ(chain->elementCount(), 4);
    EXPECT_EQ(chain->element(1).text, "E1");
    EXPECT_EQ(chain->element(2).text, "..........");
    EXPECT_EQ(chain->element(3).text, "E2");
    EXPECT_EQ(chain->element(4).text, "E3");
    EXPECT_EQ(chain->element(4).predecessor, 2) << "references are the editors' business";
    ASSERT_TRUE(chain->deleteElement(1));
    EXPECT_EQ(chain->element(1).text, "..........");
    EXPECT_EQ(chain->element(3).text, "E3");
    EXPECT_EQ(chain->elementCount(), 3);
    EXPECT_FALSE(chain->deleteElement(4));
    EXPECT_FALSE(chain->insertElement(5));
    EXPECT_FALSE(chain->deleteElement(0)) << "element 0 always exists";

    chain->setClosingCount(2);
    chain->closing(1).text = "A";
    chain->closing(2).text = "B";
    ASSERT_TRUE(chain->insertClosing(1));
    EXPECT_EQ(chain->closing(1).text, "................");
    EXPECT_EQ(chain->closing(1).fromElement, 1);
    EXPECT_EQ(chain->closing(3).text, "B");
    ASSERT_TRUE(chain->deleteClosing(2));
    EXPECT_EQ(chain->closing(2).text, "B");
    EXPECT_EQ(chain->closingCount(), 2);
}

TEST(MessageList, ComparesOnThirtySixCharactersAndHoldsEleven) {
    MessageList list;
    const std::string longText(40, 'x');
    list.add(longText);
    list.add(std::string(36, 'x') + "different tail");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0), std::string(36, 'x'));
    for (int i = 0; i < 20; ++i) list.add("Meldung " + std::to_string(i));
    EXPECT_EQ(list.count(), kMaxMessages);
    EXPECT_EQ(list.at(10), "Meldung 9");
    list.clear();
    EXPECT_TRUE(list.empty());
}

} // namespace
} // namespace zam1
