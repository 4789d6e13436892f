#include "util/clock.h"

#include <chrono>
#include <thread>

namespace kotonel {

uint64_t RealClock::NowMs() const {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void RealClock::SleepMs(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void VirtualClock::SleepMs(uint32_t ms) {
  now_ += ms;
  if (onSleep) onSleep(now_);
}

RealClock& SystemClock() {
  static RealClock clock;
  return clock;
}

bool TimeUp(uint64_t& deadline, uint32_t ms, const Clock& clock) {
  if (deadline == 0) {
    deadline = clock.NowMs() + ms;
    return false;
  }
  return clock.NowMs() >= deadline;
}

void WaitMs(uint32_t ms, Clock& clock, const MessagePump& pump) {
  uint64_t deadline = 0;
  if (TimeUp(deadline, ms, clock)) return;
  do {
    clock.SleepMs(50);
    if (pump) pump();
  } while (!TimeUp(deadline, ms, clock));
}

}  // namespace kotonel
