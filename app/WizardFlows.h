// Each flow's pages in the order Next shows them: the frames' page tables
// (CWizardFrame.cpp) follow it, and the pages name their Next and Back
// targets by it, besides CWizardPage::kFollowingPage and kStayOnPage.
#pragma once

enum CreateFlowPage {
  kCreateGroupName,
  kCreateScan,
  kCreateMembers,
  kCreateFirstApply,
  kCreateWireless,
  kCreateSecondApply,
  kCreateDone,
  kCreatePageCount
};
enum ModifyFlowPage {
  kModifyScan,
  kModifyMembers,
  kModifyFirstApply,
  kModifyWireless,
  kModifySecondApply,
  kModifyDone,
  kModifyPageCount
};
enum StatusFlowPage { kStatusScan, kStatusList, kStatusPageCount };
