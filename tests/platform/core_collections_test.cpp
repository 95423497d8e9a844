#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx.h"

namespace {

std::string Join(const CStringList& list) {
  std::string out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out += list.GetNext(pos).GetString();
  return out;
}

std::string JoinBackwards(const CStringList& list) {
  std::string out;
  for (POSITION pos = list.GetTailPosition(); pos;) out += list.GetPrev(pos).GetString();
  return out;
}

TEST(CListTest, PositionsStayValidAcrossInsertions) {
  CStringList list(4);
  POSITION b = list.AddTail("b");
  list.AddHead("a");
  list.AddTail("d");
  POSITION c = list.InsertAfter(b, "c");
  list.InsertBefore(list.GetHeadPosition(), "0");
  list.InsertAfter(nullptr, "e");  // no position: at the end
  EXPECT_EQ("0abcde", Join(list));
  EXPECT_EQ("edcba0", JoinBackwards(list));
  EXPECT_EQ(6, list.GetCount());
  EXPECT_STREQ("c", list.GetAt(c));
  EXPECT_EQ(c, list.FindIndex(3));
  EXPECT_EQ(nullptr, list.FindIndex(6));
  EXPECT_EQ(nullptr, list.FindIndex(-1));
  EXPECT_EQ(c, list.Find("c"));
  EXPECT_EQ(nullptr, list.Find("c", c));
  EXPECT_EQ(nullptr, list.Find("zz"));
  list.SetAt(c, "C");
  EXPECT_STREQ("0", list.GetHead());
  EXPECT_STREQ("e", list.GetTail());
  EXPECT_STREQ("0", list.RemoveHead());
  EXPECT_STREQ("e", list.RemoveTail());
  EXPECT_EQ("abCd", Join(list));
}

TEST(CListTest, RemovingTheElementJustPassedWhileIterating) {
  CPtrList list;
  int values[] = {1, 2, 3, 4, 5, 6};
  for (int& v : values) list.AddTail(&v);
  // The usual idiom: step past an element, then remove it by its old position.
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    int* value = static_cast<int*>(list.GetNext(pos));
    if (*value % 2 == 0) list.RemoveAt(current);
  }
  std::vector<int> left;
  for (POSITION pos = list.GetHeadPosition(); pos;) left.push_back(*static_cast<int*>(list.GetNext(pos)));
  EXPECT_EQ((std::vector<int>{1, 3, 5}), left);

  // Removing every element, head and tail included, leaves a usable empty list.
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    list.GetNext(pos);
    list.RemoveAt(current);
  }
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(nullptr, list.GetHeadPosition());
  EXPECT_EQ(nullptr, list.GetTailPosition());
  list.AddHead(&values[0]);
  EXPECT_EQ(&values[0], list.GetTail());
}

TEST(CListTest, MisuseThrowsInsteadOfTouchingMemory) {
  CStringList list;
  auto expectInvalidArg = [](auto&& action) {
    try {
      action();
      ADD_FAILURE() << "no exception";
    } catch (CException* e) {
      EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
      e->Delete();
    }
  };
  expectInvalidArg([&] { list.RemoveHead(); });
  expectInvalidArg([&] { list.GetTail(); });
  expectInvalidArg([&] {
    POSITION pos = nullptr;
    list.GetNext(pos);
  });
}

TEST(CTypedPtrListTest, GivesBackTheStoredType) {
  struct Item { int n; };
  CTypedPtrList<CPtrList, Item*> list;
  Item a{1}, b{2};
  list.AddTail(&a);
  list.AddTail(&b);
  POSITION pos = list.GetHeadPosition();
  EXPECT_EQ(1, list.GetNext(pos)->n);
  EXPECT_EQ(2, list.GetNext(pos)->n);
  EXPECT_EQ(nullptr, pos);
}

TEST(CArrayTest, GrowsShrinksAndChecksIndexes) {
  CStringArray array;
  EXPECT_EQ(-1, array.GetUpperBound());
  EXPECT_EQ(0, array.Add("a"));
  EXPECT_EQ(1, array.Add("c"));
  array.InsertAt(1, "b");
  array.InsertAt(5, "f");  // past the end: grows with empty elements
  EXPECT_EQ(6, array.GetSize());
  EXPECT_STREQ("", array[3]);
  array.RemoveAt(3, 2);
  array[0] = "A";
  array.ElementAt(1) += "!";
  array.SetAt(2, "c?");
  ASSERT_EQ(4, array.GetCount());
  EXPECT_STREQ("A", array.GetAt(0));
  EXPECT_STREQ("b!", array[1]);
  EXPECT_STREQ("c?", array[2]);
  EXPECT_STREQ("f", array[3]);

  CStringArray copy;
  copy.Copy(array);
  EXPECT_EQ(4, copy.Append(copy));  // appending to itself doubles it
  EXPECT_EQ(8, copy.GetSize());
  EXPECT_STREQ("f", copy[7]);

  for (INT_PTR bad : {INT_PTR(-1), INT_PTR(4)}) {
    try {
      array.GetAt(bad);
      ADD_FAILURE() << "no exception for " << bad;
    } catch (CInvalidArgException* e) {
      e->Delete();
    }
  }
  CByteArray bytes;
  bytes.SetSize(3);
  EXPECT_EQ(0, bytes[2]);
  bytes.SetAtGrow(5, 0x42);
  EXPECT_EQ(6, bytes.GetSize());
  CDWordArray words;
  words.Add(0xFFFFFFFFu);
  EXPECT_EQ(0xFFFFFFFFu, words[0]);
  array.RemoveAll();
  EXPECT_TRUE(array.IsEmpty());
}

TEST(CMapTest, StringMapsStoreLookUpAndRemove) {
  CMapStringToString map;
  map.SetAt("host", "10.0.0.1");
  map["port"] = "161";
  map.SetAt("host", "10.0.0.2");
  EXPECT_EQ(2, map.GetCount());
  CString value;
  EXPECT_TRUE(map.Lookup("host", value));
  EXPECT_STREQ("10.0.0.2", value);
  EXPECT_FALSE(map.Lookup("HOST", value));  // keys are case-sensitive
  EXPECT_TRUE(map.RemoveKey("host"));
  EXPECT_FALSE(map.RemoveKey("host"));
  EXPECT_FALSE(map.Lookup("host", value));
  map.RemoveAll();
  EXPECT_EQ(nullptr, map.GetStartPosition());
}

TEST(CMapTest, IterationVisitsEachEntryOnceEvenWhileRemoving) {
  CMapWordToPtr map;
  for (WORD key = 0; key < 100; ++key) map.SetAt(key, reinterpret_cast<void*>(uintptr_t(key) + 1));
  int seen[100] = {};
  for (POSITION pos = map.GetStartPosition(); pos;) {
    WORD key;
    void* value;
    map.GetNextAssoc(pos, key, value);
    ASSERT_LT(key, 100);
    ++seen[key];
    EXPECT_EQ(uintptr_t(key) + 1, reinterpret_cast<uintptr_t>(value));
    if (key % 3 == 0) map.RemoveKey(key);  // the entry just returned
  }
  for (int n : seen) EXPECT_EQ(1, n);
  EXPECT_EQ(66, map.GetCount());

  CMapPtrToPtr pointers;
  int a = 0, b = 0;
  pointers[&a] = &b;
  void* found = nullptr;
  EXPECT_TRUE(pointers.Lookup(&a, found));
  EXPECT_EQ(&b, found);
  EXPECT_FALSE(pointers.Lookup(&b, found));

  CMapStringToPtr named;
  named.SetAt("x", &a);
  EXPECT_TRUE(named.Lookup("x", found));
  EXPECT_EQ(&a, found);
}

}  // namespace
