// The tree view through its class wrapper: building a hierarchy, expanding,
// selecting by click with the notifications, hit tests and stale handles.

#include <gtest/gtest.h>

#include "AfxCmnCtrl.h"
#include "cc_fixture.h"

namespace {

using CcTreeView = CcFixture;

TEST_F(CcTreeView, HierarchyExpansionSelectionAndStaleHandles) {
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, RECT{10, 10, 210, 210},
                          CWnd::FromHandle(parent), 9));
  HTREEITEM group = tree.InsertItem("Group");
  HTREEITEM b = tree.InsertItem("Slave", group);
  HTREEITEM a = tree.InsertItem("Master", group, TVI_FIRST);
  HTREEITEM other = tree.InsertItem("Other");
  tree.SetItemData(b, static_cast<DWORD_PTR>(0xABCDEF0123ULL));
  EXPECT_EQ(4u, tree.GetCount());
  EXPECT_EQ(group, tree.GetRootItem());
  EXPECT_EQ(a, tree.GetChildItem(group));
  EXPECT_EQ(b, tree.GetNextSiblingItem(a));
  EXPECT_EQ(group, tree.GetParentItem(b));
  EXPECT_EQ(static_cast<DWORD_PTR>(0xABCDEF0123ULL), tree.GetItemData(b));
  EXPECT_EQ(CString("Slave"), tree.GetItemText(b));

  // Collapsed children have no rectangle; expanding shows them.
  RECT rc;
  EXPECT_FALSE(tree.GetItemRect(a, &rc, TRUE));
  EXPECT_TRUE(tree.Expand(group, TVE_EXPAND));
  EXPECT_EQ(static_cast<UINT>(TVIS_EXPANDED), tree.GetItemState(group, TVIS_EXPANDED));
  ASSERT_TRUE(tree.GetItemRect(b, &rc, TRUE));
  EXPECT_EQ(1, CountOf(TVN_ITEMEXPANDINGA));
  EXPECT_EQ(1, CountOf(TVN_ITEMEXPANDEDA));

  // A click on a label selects it, with the changing and changed notices.
  testkit::Click(tree, POINT{rc.left + 3, (rc.top + rc.bottom) / 2});
  testkit::PumpPending();
  EXPECT_EQ(b, tree.GetSelectedItem());
  EXPECT_EQ(1, CountOf(TVN_SELCHANGINGA));
  EXPECT_EQ(1, CountOf(TVN_SELCHANGEDA));
  UINT flags = 0;
  EXPECT_EQ(b, tree.HitTest(CPoint(rc.left + 3, (rc.top + rc.bottom) / 2), &flags));
  EXPECT_EQ(static_cast<UINT>(TVHT_ONITEMLABEL), flags);

  // Collapsing the branch moves the selection to its root.
  tree.Expand(group, TVE_COLLAPSE);
  EXPECT_EQ(group, tree.GetSelectedItem());

  // Deleting a branch announces each item; its handles are dead afterwards.
  notices.clear();
  EXPECT_TRUE(tree.DeleteItem(group));
  EXPECT_EQ(3, CountOf(TVN_DELETEITEMA));
  EXPECT_EQ(1u, tree.GetCount());
  EXPECT_EQ(other, tree.GetRootItem());
  EXPECT_FALSE(tree.SelectItem(b));
  EXPECT_EQ(CString(""), tree.GetItemText(a));
  tree.DestroyWindow();
}

}  // namespace
