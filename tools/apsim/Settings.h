// What every part of apsim reads from the command line, and the three things
// built on it: the event log, device time and the loss knob.
#pragma once

#include <chrono>
#include <random>
#include <string>

namespace apsim {

using Clock = std::chrono::steady_clock;

struct Settings {
  bool quiet = false;
  double timeScale = 1;   // --time-scale: device time passes this many times faster
  std::string statePath;  // --state: where the devices are written after every change; empty: nowhere
  double lossIn = 0, lossOut = 0;  // --loss, --loss-answers: percent of what apsim receives, and sends
  std::mt19937 lossRandom{1};      // --seed
};

// Filled by main before anything runs.
extern Settings g_settings;

// One line on standard output per event, for tests and people; nothing with --quiet.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Scenario durations are device time; --time-scale makes it pass faster.
Clock::duration DeviceTime(int ms);

// The loss knob: one draw per datagram, in the order apsim handles them;
// true (and logged) when this one is lost. `sent` tells apsim's own
// datagrams from those it receives.
bool Lost(const char* what, const std::string& mac, bool sent = true);

}  // namespace apsim
