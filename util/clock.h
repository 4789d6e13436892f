// The millisecond tick and the waits built on it. Everything that waits takes a Clock and a
// message pump, so the programs wait in real time while tests run on a virtual clock.
#pragma once

#include <cstdint>
#include <functional>

namespace kotonel {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() const = 0;  // monotonic, 64-bit: it never wraps
  virtual void SleepMs(uint32_t ms) = 0;
};

class RealClock final : public Clock {
 public:
  uint64_t NowMs() const override;
  void SleepMs(uint32_t ms) override;
};

// Time moves only when somebody sleeps, by exactly the time slept.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(uint64_t start = 1000) : now_(start) {}
  uint64_t NowMs() const override { return now_; }
  void SleepMs(uint32_t ms) override;
  void Advance(uint64_t ms) { now_ += ms; }
  // Called after every sleep, so a test can act "while" something waits.
  std::function<void(uint64_t now)> onSleep;

 private:
  uint64_t now_;
};

RealClock& SystemClock();

// Lets the window process its pending messages; a no-op where there is no window.
using MessagePump = std::function<void()>;

// Deadline test: a deadline of 0 is set to now + ms and the answer is false; otherwise the
// answer is whether now has reached the deadline.
bool TimeUp(uint64_t& deadline, uint32_t ms, const Clock& clock);
// Waits at least ms, sleeping 50 ms at a time and letting the pump run after each sleep.
void WaitMs(uint32_t ms, Clock& clock, const MessagePump& pump);

}  // namespace kotonel
