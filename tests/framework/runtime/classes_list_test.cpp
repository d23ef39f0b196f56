#include <gtest/gtest.h>

#include <vector>

#include "framework/runtime/Classes.h"

namespace {
int ByValue(void *a, void *b) { return *static_cast<int *>(a) - *static_cast<int *>(b); }
}  // namespace

TEST(TListTest, AddInsertDeleteAndStableSort)
{
    int v[] = {3, 1, 2, 1};
    TList l;
    for (int &x : v)
        l.Add(&x);
    l.Sort(ByValue);
    ASSERT_EQ(4, l.Count());
    EXPECT_EQ(&v[1], l[0]);  // equal items keep their order
    EXPECT_EQ(&v[3], l[1]);
    EXPECT_EQ(&v[2], l[2]);
    EXPECT_EQ(&v[0], l.Last());
    EXPECT_EQ(1, l.Remove(&v[3]));
    EXPECT_EQ(-1, l.IndexOf(&v[3]));
    l.Insert(0, nullptr);
    l.Pack();
    EXPECT_EQ(3, l.Count());
    l.Move(0, 2);
    EXPECT_EQ(&v[1], l[2]);
    EXPECT_THROW(l.Items(3), EListError);
    EXPECT_THROW(l.Delete(-1), EListError);
    EXPECT_THROW(l.Insert(5, nullptr), EListError);
}

TEST(TStringListTest, SortedCaseInsensitiveCyrillicWithDupIgnore)
{
    TStringList l;
    l.SetSorted(true);
    l.SetDuplicates(dupIgnore);
    int objA = 1, objB = 2;
    EXPECT_EQ(0, l.AddObject("Яблоко", &objA));
    l.Add("ёлка");
    l.Add("Ель");
    l.Add("ґанок");
    l.Add("Гора");
    l.Add("apple");
    int again = l.AddObject("ЯБЛОКО", &objB);  // same text in another case: ignored
    ASSERT_EQ(6, l.Count());
    EXPECT_EQ("apple", l[0]);
    EXPECT_EQ("Гора", l[1]);
    EXPECT_EQ("ґанок", l[2]);
    EXPECT_EQ("Ель", l[3]);
    EXPECT_EQ("ёлка", l[4]);
    EXPECT_EQ("Яблоко", l[5]);
    EXPECT_EQ(5, again);
    int index;
    EXPECT_TRUE(l.Find("ЁЛКА", index));
    EXPECT_EQ(4, index);
    EXPECT_FALSE(l.Find("дом", index));
    EXPECT_EQ(3, index);  // where it would go
    EXPECT_EQ(2, l.IndexOf("ҐАНОК"));
    EXPECT_THROW(l.Insert(0, "x"), EListError);
    EXPECT_THROW(l.SetString(0, "x"), EListError);
}

TEST(TStringListTest, DuplicatesAcceptAndErrorAndCaseSensitive)
{
    TStringList l;
    l.SetSorted(true);
    l.SetDuplicates(dupError);
    l.Add("дом");
    EXPECT_THROW(l.Add("ДОМ"), EListError);
    l.SetCaseSensitive(true);
    EXPECT_NO_THROW(l.Add("ДОМ"));
    EXPECT_EQ(2, l.Count());
    l.SetDuplicates(dupAccept);
    l.Add("дом");
    EXPECT_EQ(3, l.Count());
    EXPECT_EQ(-1, l.IndexOf("Дом"));
}

TEST(TStringListTest, TextSplitsAtAnyLineEnd)
{
    TStringList l;
    l.SetText("one\r\ntwo\nthree\rfour\r\n\r\nsix");
    ASSERT_EQ(6, l.Count());
    EXPECT_EQ("three", l[2]);
    EXPECT_EQ("four", l[3]);
    EXPECT_EQ("", l[4]);
    EXPECT_EQ("six", l[5]);
    EXPECT_EQ("one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n", l.Text());
    l.SetText("");
    EXPECT_EQ(0, l.Count());
    l.SetText("a\r\n");
    EXPECT_EQ(1, l.Count());
}

TEST(TStringListTest, UnsortedEditingAndObjects)
{
    TStringList l;
    int o = 5;
    l.Add("b");
    l.InsertObject(0, "a", &o);
    l.Add("a b");
    EXPECT_EQ(&o, l.Objects(0));
    EXPECT_EQ(0, l.IndexOfObject(&o));
    EXPECT_EQ("a,b,\"a b\"", l.CommaText());
    l.SetString(1, "c");
    l.Exchange(0, 1);
    EXPECT_EQ("c", l[0]);
    l.Delete(0);
    EXPECT_EQ("a", l[0]);
    EXPECT_THROW(l.Strings(5), EListError);
    TStringList copy;
    copy.Assign(l);
    EXPECT_EQ(l.Text(), copy.Text());
    copy.SetSorted(true);
    EXPECT_EQ("a", copy[0]);
}

TEST(TMemoryStreamTest, ReadWriteSeekAndSize)
{
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    EXPECT_EQ(6, m.Size());
    EXPECT_EQ(2, m.Seek(-4, soFromEnd));
    char buf[8] = {};
    EXPECT_EQ(4, m.Read(buf, 8));
    EXPECT_STREQ("cdef", buf);
    EXPECT_EQ(0, m.Read(buf, 8));
    EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
    m.SetPosition(10);  // writing past the end fills the gap with zeros
    m.WriteBuffer("x", 1);
    EXPECT_EQ(11, m.Size());
    EXPECT_EQ(0, m.Memory()[8]);
    m.SetSize(3);
    EXPECT_EQ(3, m.Position());
    EXPECT_THROW(m.Seek(-1, soFromBeginning), EStreamError);

    TMemoryStream copy;
    EXPECT_EQ(3, copy.CopyFrom(m, 0));
    EXPECT_EQ("abc", std::string(copy.Memory(), 3));
    m.SetPosition(1);
    TMemoryStream part;
    part.CopyFrom(m, 2);
    EXPECT_EQ("bc", std::string(part.Memory(), 2));
    m.SetPosition(2);
    EXPECT_THROW(part.CopyFrom(m, 5), EReadError);
}

TEST(TStringListTest, StreamRoundTripKeepsCp1251Bytes)
{
    TStringList l;
    l.Add("Протокол");
    l.Add("ґ і ї є");
    TMemoryStream m;
    l.SaveToStream(m);
    EXPECT_EQ(static_cast<long long>(l.Text().size()), m.Size());
    m.SetPosition(0);
    TStringList back;
    back.LoadFromStream(m);
    EXPECT_EQ(l.Text(), back.Text());
}

namespace {
// A list that records when an update starts and ends, as a list shown in a window does.
class UpdateStateLog : public TStringList {
public:
    std::vector<bool> States;

protected:
    void SetUpdateState(bool updating) override { States.push_back(updating); }
};
}  // namespace

TEST(TStringListTest, NestedUpdatesStartAndEndOnceAtTheOutermostCalls)
{
    UpdateStateLog list;
    list.EndUpdate();  // an end without a start changes nothing
    EXPECT_TRUE(list.States.empty());
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("рядок");
    EXPECT_TRUE(list.Updating());
    list.EndUpdate();
    EXPECT_TRUE(list.Updating());  // the inner end leaves the outer update on
    EXPECT_EQ(std::vector<bool>{true}, list.States);
    list.EndUpdate();
    list.EndUpdate();
    EXPECT_FALSE(list.Updating());
    EXPECT_EQ((std::vector<bool>{true, false}), list.States);
    EXPECT_EQ(1, list.Count());
}

TEST(TStringListTest, AnUpdateScopeLeftByAnExceptionStillEndsTheUpdate)
{
    UpdateStateLog list;
    EXPECT_THROW(
        {
            TStringsUpdate update(list);
            list.Add("рядок");
            list.Strings(5);  // out of bounds: throws
        },
        EListError);
    EXPECT_FALSE(list.Updating());
    EXPECT_EQ((std::vector<bool>{true, false}), list.States);
}
