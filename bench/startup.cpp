// Start-up of a one-line reading: from the start of this process (or from the moment given on
// the command line, so a driver can count the exec too) to the first sound byte handed to the
// audio device, with the engine built from every dictionary. Prints the time and the peak
// resident memory.
//
// usage: bench_startup [--since MONOTONIC_SECONDS] DICT_FOLDER [VOICE] TEXT
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "audio/virtual_audio_device.h"
#include "engine/clsMAIN.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"

namespace {

using namespace kotonel;

double MonotonicSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// A silent device on a virtual clock that notes when the first sound byte arrives; the rest
// of the line then "plays" in no time.
class FirstByteDevice final : public AudioDevice {
 public:
  explicit FirstByteDevice(Clock& clock) : inner_(clock) { inner_.keepPieces = false; }
  bool Open() override { return inner_.Open(); }
  bool Prepare(const uint8_t* data, size_t bytes) override {
    if (bytes > 0 && firstByteAt < 0) firstByteAt = MonotonicSeconds();
    return inner_.Prepare(data, bytes);
  }
  bool Write() override { return inner_.Write(); }
  bool Position(uint64_t& bytes) override { return inner_.Position(bytes); }
  bool Pause() override { return inner_.Pause(); }
  bool Restart() override { return inner_.Restart(); }
  bool Reset() override { return inner_.Reset(); }
  bool Unprepare() override { return inner_.Unprepare(); }
  void Close() override { inner_.Close(); }
  double firstByteAt = -1;

 private:
  VirtualAudioDevice inner_;
};

}  // namespace

int main(int argc, char** argv) {
  double since = MonotonicSeconds();
  int arg = 1;
  if (argc > 2 && std::string(argv[1]) == "--since") {
    since = std::atof(argv[2]);
    arg = 3;
  }
  if (argc - arg < 2) {
    std::fprintf(stderr, "usage: bench_startup [--since T] DICT_FOLDER [VOICE] TEXT\n");
    return 2;
  }
  std::string dict = argv[arg++];
  if (dict.back() != '/') dict += '/';
  int voice = argc - arg >= 2 ? std::atoi(argv[arg++]) : 0;
  const std::u32string text = FromUtf8(argv[arg]);

  VirtualClock clock;
  EngineSetup setup;
  setup.dictionaryFolder = dict;
  setup.firstVoice = voice;  // as kotonel-say does
  auto device = std::make_unique<FirstByteDevice>(clock);
  FirstByteDevice* first = device.get();
  setup.device = std::move(device);
  setup.clock = &clock;
  std::unique_ptr<clsMAIN> engine;
  try {
    engine = std::make_unique<clsMAIN>(std::move(setup));
  } catch (const DictionaryError& e) {
    std::fprintf(stderr, "%s\n%s\n", ToUtf8(e.Message()).c_str(), ToUtf8(e.Line()).c_str());
    return 3;
  }
  const double constructed = MonotonicSeconds();
  engine->VOICE(voice);
  if (int rc = engine->Speech(0, text); rc != 0 || first->firstByteAt < 0) {
    std::fprintf(stderr, "speaking failed (%d): %s\n", rc, engine->LastError().c_str());
    return 4;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("engine_s %.4f\nfirst_byte_s %.4f\npeak_rss_kb %ld\n", constructed - since,
              first->firstByteAt - since, usage.ru_maxrss);
  return 0;
}
