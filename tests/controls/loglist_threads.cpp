// Worker threads add log lines as the device tasks' completion reports do,
// while the window's thread pumps: every line arrives whole, in each
// worker's order, in the list and in the log file.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <thread>
#include <vector>

#include "LogListFixture.h"
#include "TempDir.h"

namespace {

const int kWorkers = 4;
const int kLinesEach = 150;

using LogListThreadsTest = LogListFixture;

std::string LineText(int worker, int step) {
  return "worker " + std::to_string(worker) + " step " + std::to_string(step) + " " + std::string(40, 'a' + worker);
}

// Checks that every text is one of ours, whole, and that each worker's steps
// come in order and all of them.
void ExpectWholeLinesInOrder(const std::vector<std::string>& texts) {
  std::map<int, int> next;
  for (const std::string& text : texts) {
    int worker = -1, step = -1;
    ASSERT_EQ(sscanf(text.c_str(), "worker %d step %d", &worker, &step), 2) << "torn line: " << text;
    ASSERT_TRUE(worker >= 0 && worker < kWorkers) << text;
    EXPECT_EQ(text, LineText(worker, step)) << "torn line";
    EXPECT_EQ(step, next[worker]) << "worker " << worker << " out of order";
    next[worker] = step + 1;
  }
  for (int w = 0; w < kWorkers; ++w) EXPECT_EQ(next[w], kLinesEach) << "lines lost of worker " << w;
}

TEST_F(LogListThreadsTest, WorkersAddWholeLinesInTheirOrder) {
  TempDir dir;
  const std::string path = dir.file("apply.log");
  list.SetLogFilePath(path.c_str());
  list.SetShowLineNumbers(TRUE);
  std::atomic<int> finished{0};
  std::atomic<int> failures{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      for (int step = 0; step < kLinesEach; ++step)
        if (list.AddLine(static_cast<unsigned>(w), 1, LineText(w, step).c_str()) < 0) ++failures;
      ++finished;
    });
  }
  while (finished < kWorkers) {
    testkit::PumpPending();
    list.UpdateWindow();
    std::this_thread::yield();
  }
  for (std::thread& t : workers) t.join();
  EXPECT_EQ(failures, 0);
  ASSERT_EQ(list.GetCount(), kWorkers * kLinesEach);

  std::vector<std::string> inList;
  for (int line = 0; line < list.GetCount(); ++line) {
    CString text;
    list.GetLineText(line, text);
    inList.emplace_back(static_cast<LPCTSTR>(text));
    EXPECT_EQ(list.GetTextColorIndex(line), text[7] - '0') << "the colour stays with its text";
  }
  ExpectWholeLinesInOrder(inList);

  std::vector<std::string> inFile;
  std::istringstream file(ReadFile(path));
  for (std::string row; std::getline(file, row);) {
    std::string text;
    ASSERT_TRUE(TextOfStampedRow(row, ComputerName(), &text)) << "torn log-file line: " << row;
    ASSERT_EQ(text.back(), '\r');
    text.pop_back();
    inFile.push_back(text);
  }
  ExpectWholeLinesInOrder(inFile);
}

// Two lists writing the same log file at once: appends never land on each
// other, so no line of either is lost.
TEST_F(LogListThreadsTest, TwoWritersAppendingAtOnceLoseNoLine) {
  TempDir dir;
  const std::string path = dir.file("shared.log");
  CLogListBox other;
  ASSERT_TRUE(other.Create(kStyle, CRect(0, 0, 100, 100), &page, 1031));
  list.SetLogFilePath(path.c_str());
  other.SetLogFilePath(path.c_str());
  const int kLines = 300;
  std::atomic<int> finished{0};
  std::thread first([&] {
    for (int i = 0; i < kLines; ++i) list.AddLine(("first " + std::to_string(i)).c_str());
    ++finished;
  });
  std::thread second([&] {
    for (int i = 0; i < kLines; ++i) other.AddLine(("second " + std::to_string(i)).c_str());
    ++finished;
  });
  while (finished < 2) testkit::PumpPending();
  first.join();
  second.join();
  std::istringstream file(ReadFile(path));
  int rows = 0, firsts = 0;
  for (std::string row; std::getline(file, row); ++rows) firsts += row.find("] first ") != std::string::npos;
  EXPECT_EQ(rows, 2 * kLines);
  EXPECT_EQ(firsts, kLines);
  other.DestroyWindow();
}

}  // namespace
