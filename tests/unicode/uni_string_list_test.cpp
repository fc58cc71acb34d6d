// The list operations of TWideStrings as TUniStringList implements them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unicode/uni_string_list.h"
#include "unicode/wide_exceptions.h"

using unicode::EListError;
using unicode::TUniStringList;

namespace {
std::vector<std::u16string> Lines(const TUniStringList& list) {
  std::vector<std::u16string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  return lines;
}
using L = std::vector<std::u16string>;
int a = 1, b = 2, c = 3;
}  // namespace

TEST(UniStringList, EditingKeepsObjectsWithTheirLines) {
  TUniStringList list;
  EXPECT_EQ(list.AddObject(u"甲", &a), 0);
  EXPECT_EQ(list.AddObject(u"乙", &b), 1);
  EXPECT_EQ(list.AddObject(u"丙", &c), 2);
  list.Move(0, 2);
  EXPECT_EQ(Lines(list), (L{u"乙", u"丙", u"甲"}));
  EXPECT_EQ(list.Objects(2), &a);
  list.Exchange(0, 1);
  EXPECT_EQ(Lines(list), (L{u"丙", u"乙", u"甲"}));
  EXPECT_EQ(list.Objects(0), &c);
  list.Put(0, u"丁");
  EXPECT_EQ(list.Objects(0), &c);
  list.Delete(1);
  EXPECT_EQ(Lines(list), (L{u"丁", u"甲"}));
  EXPECT_EQ(list.IndexOfObject(&a), 1);
  EXPECT_EQ(list.IndexOfObject(&b), -1);
}

TEST(UniStringList, SearchesIgnoreCase) {
  TUniStringList list;
  list.SetText(u"Alpha\r\nkey=value\r\n中文");
  EXPECT_EQ(list.IndexOf(u"ALPHA"), 0);
  EXPECT_EQ(list.IndexOf(u"中文"), 2);
  EXPECT_EQ(list.IndexOf(u"alph"), -1);
  EXPECT_EQ(list.IndexOfName(u"KEY"), 1);
  EXPECT_EQ(list.IndexOfName(u"value"), -1);
  EXPECT_EQ(list.CompareStrings(u"abc", u"ABD"), -1);
  EXPECT_EQ(list.CompareStrings(u"b", u"A"), 1);
}

TEST(UniStringList, BadIndexesRaiseTheListIndexError) {
  TUniStringList list;
  list.Add(u"x");
  try {
    list.Get(5);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(3, u"y"), EListError);
  EXPECT_THROW(list.Exchange(0, -1), EListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(UniStringList, SortedListsPlaceAndRefuse) {
  TUniStringList list;
  list.SetText(u"pear\r\nApple\r\nfig");
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (L{u"Apple", u"fig", u"pear"}));
  EXPECT_EQ(list.Add(u"banana"), 1);
  EXPECT_EQ(list.Add(u"APPLE"), 0);  // ignored duplicate: the index of the one there
  EXPECT_EQ(list.Count(), 4);
  int index = -1;
  EXPECT_FALSE(list.Find(u"cherry", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.IndexOf(u"PEAR"), 3);
  EXPECT_THROW(list.Insert(0, u"x"), EListError);
  list.Duplicates = unicode::TDuplicates::dupError;
  EXPECT_THROW(list.Add(u"fig"), EListError);
  list.Duplicates = unicode::TDuplicates::dupAccept;
  list.Add(u"fig");
  EXPECT_EQ(list.Count(), 5);
}

TEST(UniStringList, SortHandlesManyAndEqualRows) {
  TUniStringList list;
  for (int i = 0; i < 2000; ++i) list.Add(std::u16string(1, static_cast<char16_t>(u'a' + (i * 7919) % 26)));
  list.Sort();
  for (int i = 1; i < list.Count(); ++i) ASSERT_LE(list.CompareStrings(list[i - 1], list[i]), 0) << i;
  list.CustomSort([](const TUniStringList& l, int i, int j) { return -l.CompareStrings(l[i], l[j]); });
  EXPECT_EQ(list[0], u"z");
  EXPECT_EQ(list.Count(), 2000);
}

TEST(UniStringList, ChangeEventsWaitForTheOutermostUpdate) {
  TUniStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&] { ++changing; };
  list.OnChange = [&] { ++changed; };
  list.Add(u"a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  list.SetText(u"x\r\ny\r\nz");  // one update around clearing and three adds
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(u"w");
  list.EndUpdate();
  EXPECT_EQ(changed, 2);
  list.EndUpdate();
  EXPECT_EQ(changed, 3);
}

TEST(UniStringList, AssignAndAddStrings) {
  TUniStringList source, target;
  source.AddObject(u"一", &a);
  source.AddObject(u"二", &b);
  target.Add(u"old");
  target.Assign(source);
  EXPECT_EQ(Lines(target), (L{u"一", u"二"}));
  EXPECT_EQ(target.Objects(1), &b);
  target.AddStrings(target);
  EXPECT_EQ(Lines(target), (L{u"一", u"二", u"一", u"二"}));
  target.Assign(target);
  EXPECT_EQ(target.Count(), 4);
}
