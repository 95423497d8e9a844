// Worker threads drive progress cells and status texts of the extended list,
// as the device tasks do, while the window's thread deletes and inserts rows
// under them. Every call is carried to the window's thread, so no worker ever
// touches a row block (ThreadSanitizer and AddressSanitizer watch this).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ExtListFixture.h"

namespace {

const int kWorkers = 8;
const int kSteps = 100;

using ExtListThreadsTest = ExtListFixture<CExtListCtrl>;

CString Name(int i) {
  CString name;
  name.Format("AP-%d", i);
  return name;
}

// As a device task finds its row: by the text of its key column.
int FindRow(CExtListCtrl& list, const CString& name) {
  for (int r = 0, n = list.GetItemCount(); r < n; ++r)
    if (list.GetItemText(r, 0) == name) return r;
  return -1;
}

TEST_F(ExtListThreadsTest, WorkersUpdateCellsWhileRowsComeAndGo) {
  AddRows(kWorkers);
  std::atomic<int> finished{0};
  std::atomic<int> badAnswers{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      CString name = Name(w);
      for (int step = 0; step <= kSteps; ++step) {
        int row = FindRow(list, name);
        if (step % 25 == 0) list.SetProgress(row, 1, TRUE, nullptr, TRUE);
        list.UpdateProgress(row, 1, step);
        CString status;
        status.Format("step %d", step);
        list.SetItemText(row, 2, status);
        if (list.SetItemText(row, 9, "no such column") || list.SetItemText(kWorkers * 10, 2, "no such row") ||
            list.SetProgress(-1, 1, TRUE, nullptr, TRUE))
          ++badAnswers;
      }
      list.DeleteProgress(FindRow(list, name), 1);
      ++finished;
    });
  }
  int round = 0;
  while (finished < kWorkers) {
    testkit::PumpPending();
    int victim = round % kWorkers;
    if (round % 50 == 49) {
      list.DeleteAllItems();
      AddRows(kWorkers);
    } else {
      int row = FindRow(list, Name(victim));
      list.DeleteItem(row);
      list.InsertItem(row < 0 ? 0 : row, Name(victim));
    }
    list.UpdateWindow();
    ++round;
    std::this_thread::yield();
  }
  for (std::thread& t : workers) t.join();
  EXPECT_EQ(badAnswers, 0);
  EXPECT_EQ(list.GetItemCount(), kWorkers);
}

// A worker's call answers as the same call on the window's thread would.
TEST_F(ExtListThreadsTest, WorkerCallsGetTheirResults) {
  AddRows(1);
  BOOL textSet = FALSE, progressSet = FALSE;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    textSet = list.SetItemText(0, 2, "from a worker");
    progressSet = list.SetProgress(0, 1, TRUE, nullptr, TRUE);
    list.UpdateProgress(0, 1, 140);
    done = true;
  });
  ASSERT_TRUE(testkit::PumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_TRUE(textSet);
  EXPECT_TRUE(progressSet);
  EXPECT_EQ(list.GetItemText(0, 2), "from a worker");
}

}  // namespace
