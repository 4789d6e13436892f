// kotonel-say: reads Japanese text aloud from the command line, records it to a WAV file,
// streams it to standard output (WAV or raw PCM) for a player or speech-dispatcher, or prints
// the phonetic string the synthesizer would be given.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/clsWAVE.h"
#include "audio/virtual_audio_device.h"
#include "engine/clsMAIN.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/program.h"
#include "util/strings.h"

namespace {

using namespace kotonel;

constexpr const char* kUsage =
    "Usage: kotonel-say [OPTIONS] [TEXT...]\n"
    "Reads TEXT (the arguments joined by a space, or by \"、\" in phonetic mode) or, without\n"
    "TEXT, standard input aloud, one line at a time.\n"
    "\n"
    "  -o, --output FILE   record to the WAV file FILE instead of playing; a file is replaced\n"
    "                      only once the recording is complete. \"-\": stream the WAV to\n"
    "                      standard output as it is made (its length fields read 0xFFFFFFFF)\n"
    "      --raw           stream headerless PCM (signed 16-bit little-endian, 8000 Hz, mono)\n"
    "                      to standard output\n"
    "  -t, --voice N       voice 0-7 or its name (0 女性１, 1 女性２, 2 男性１, 3 男性２,\n"
    "                      4 ロボット, 5 中性, 6 機械, 7 特殊; default 0)\n"
    "      --list-voices   print the voices, one a line: number and name\n"
    "  -s, --speed N       speed 50-300 (default 100)\n"
    "      --volume N      volume 0-60 (default 20)\n"
    "  -m, --mode MODE     accent (default), plain (no intonation) or phonetic (the text is\n"
    "                      already phonetic symbols)\n"
    "  -p, --print         print the phonetic string of each line instead of speaking\n"
    "      --dict DIR      dictionary folder (default: dll/ beside the program, else\n"
    "                      ../share/kotonel/dll/ from it)\n"
    "  -h, --help          show this help\n"
    "      --version       show the version\n"
    "\n"
    "Exit status: 0 done, 2 bad usage, 3 a dictionary failed to load, 4 speaking or writing\n"
    "the output failed.\n";

constexpr const char* kVoiceNames[] = {"女性１",   "女性２", "男性１", "男性２",
                                       "ロボット", "中性",   "機械",   "特殊"};

struct Options {
  std::string output;
  bool raw = false;
  int voice = 0, speed = 100, volume = 20;
  std::string mode = "accent";
  bool print = false;
  std::string dict;
  std::vector<std::string> text;
};

// A voice library that makes no sound: -p only needs to see what would be synthesized.
class SilentVoiceLibrary final : public VoiceLibrary {
 public:
  const uint8_t* Synthe(int32_t, const std::string&, int16_t, int32_t& size) override {
    size = 44;
    return header_;
  }
  void FreeWave(int32_t, const uint8_t*) override {}
  std::string LastError() const override { return {}; }

 private:
  uint8_t header_[44] = {};
};

// Standard output as a stream of sound: every piece is written and flushed as soon as it is
// synthesized, followed by the pause a recording would hold after it, so a player sounds the
// first sentence while the rest is still being made. It plays nothing itself, on the virtual
// clock, so the engine never waits for it.
class StreamDevice final : public AudioDevice {
 public:
  explicit StreamDevice(Clock& clock) : inner_(clock) { inner_.keepPieces = false; }
  bool Open() override { return inner_.Open(); }
  bool Prepare(const uint8_t* data, size_t bytes) override {
    data_ = data;
    size_ = bytes;
    return inner_.Prepare(data, bytes);
  }
  bool Write() override;
  bool Position(uint64_t& bytes) override { return inner_.Position(bytes); }
  bool Pause() override { return inner_.Pause(); }
  bool Restart() override { return inner_.Restart(); }
  bool Reset() override { return inner_.Reset(); }
  bool Unprepare() override {
    data_ = nullptr;
    size_ = 0;
    return inner_.Unprepare();
  }
  void Close() override { inner_.Close(); }
  void NoteText(std::u32string_view phonetic) override {
    last_ = phonetic.empty() ? U'\0' : phonetic.back();
  }

 private:
  VirtualAudioDevice inner_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  char32_t last_ = U'\0';
};

// The WAV header of a stream whose length is not known when it starts: both length fields
// hold 0xFFFFFFFF, the largest value, which players read as "until the end of the stream".
std::string StreamHeader() {
  std::string h = "RIFF\xff\xff\xff\xffWAVEfmt ";
  auto le = [&h](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) h += static_cast<char>((v >> (8 * i)) & 0xff);
  };
  le(16, 4);
  le(1, 2);      // PCM
  le(1, 2);      // mono
  le(8000, 4);   // samples per second
  le(16000, 4);  // bytes per second
  le(2, 2);      // block alignment
  le(16, 2);     // bits per sample
  h += "data\xff\xff\xff\xff";
  return h;
}

// The first failure to write standard output (a full disk, a closed pipe): the caller must not
// take a cut-off output for a complete one.
int stdoutError = 0;
volatile std::sig_atomic_t stopSignal = 0;

bool Print(std::string_view text) {
  if (stdoutError) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size()) return true;
  stdoutError = errno ? errno : EIO;
  return false;
}

bool StreamDevice::Write() {
  static const char kSilence[6400] = {};
  if (!Print(std::string_view(reinterpret_cast<const char*>(data_), size_))) return false;
  for (uint32_t silence = clsWAVE::SilenceAfter(last_); silence > 0;) {
    uint32_t n = std::min<uint32_t>(silence, sizeof kSilence);
    if (!Print(std::string_view(kSilence, n))) return false;
    silence -= n;
  }
  errno = 0;
  if (std::fflush(stdout) != 0) {
    stdoutError = errno ? errno : EIO;
    return false;
  }
  return inner_.Write();
}

bool StandardOutputFailed() {
  errno = 0;
  if (!stdoutError && (std::fflush(stdout) != 0 || std::ferror(stdout)))
    stdoutError = errno ? errno : EIO;
  if (!stdoutError) return false;
  std::cerr << "kotonel-say: cannot write to standard output: " << std::strerror(stdoutError)
            << "\n";
  return true;
}

int UsageError(const std::string& message) {
  std::cerr << "kotonel-say: " << message << "\n" << kUsage;
  return 2;
}

bool ParseNumber(const std::string& s, int low, int high, int& out) {
  int32_t v = 0;
  if (!ParseIntStrict(FromUtf8(s), v) || v < low || v > high) return false;
  out = v;
  return true;
}

// Returns -1 when the options are fine, else the exit status.
int ParseOptions(int argc, char** argv, Options& o) {
  bool onlyText = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (onlyText || a.empty() || a[0] != '-' || a == "-") {
      o.text.push_back(a);
      continue;
    }
    if (a == "--") {
      onlyText = true;
      continue;
    }
    if (a == "-h" || a == "--help") {
      Print(kUsage);
      return 0;
    }
    if (a == "--version") {
      Print("kotonel-say (Kotonel) 1.56\n");
      return 0;
    }
    if (a == "-p" || a == "--print") {
      o.print = true;
      continue;
    }
    if (a == "--raw") {
      o.raw = true;
      continue;
    }
    if (a == "--list-voices") {
      for (int i = 0; i < 8; ++i) Print(std::to_string(i) + " " + kVoiceNames[i] + "\n");
      return 0;
    }
    std::string value;
    size_t eq = a.find('=');
    std::string name = a.substr(0, eq);
    bool takesValue = name == "-o" || name == "--output" || name == "-t" || name == "--voice" ||
                      name == "-s" || name == "--speed" || name == "--volume" || name == "-m" ||
                      name == "--mode" || name == "--dict";
    if (!takesValue) return UsageError("unknown option '" + a + "'");
    if (eq != std::string::npos && name.rfind("--", 0) == 0) {
      value = a.substr(eq + 1);
    } else {
      name = a;
      if (i + 1 >= argc) return UsageError("option '" + a + "' needs a value");
      value = argv[++i];
    }
    if (name == "-o" || name == "--output") {
      if (value.empty()) return UsageError("option '" + name + "' needs a file name (or -)");
      o.output = value;
    } else if (name == "-t" || name == "--voice") {
      auto name = std::find(std::begin(kVoiceNames), std::end(kVoiceNames), value);
      if (name != std::end(kVoiceNames))
        o.voice = static_cast<int>(name - std::begin(kVoiceNames));
      else if (!ParseNumber(value, 0, 7, o.voice))
        return UsageError("voice must be 0-7 or a name from --list-voices: " + value);
    } else if (name == "-s" || name == "--speed") {
      if (!ParseNumber(value, 50, 300, o.speed))
        return UsageError("speed must be 50-300: " + value);
    } else if (name == "--volume") {
      if (!ParseNumber(value, 0, 60, o.volume)) return UsageError("volume must be 0-60: " + value);
    } else if (name == "-m" || name == "--mode") {
      if (value != "accent" && value != "plain" && value != "phonetic")
        return UsageError("mode must be accent, plain or phonetic: " + value);
      o.mode = value;
    } else if (name == "--dict") {
      o.dict = value;
    }
  }
  if (o.raw && !o.output.empty() && o.output != "-")
    return UsageError("--raw writes to standard output only (leave out -o, or give -o -)");
  return -1;
}

// All of standard input, or what came before an interrupting signal. While a recording is open
// such a signal only sets stopSignal, so the wait has to end with it: the signals are held back
// except inside ppoll, which lets them in and waits in one step. One that arrives just before
// the wait is then not lost with the reader blocked until the writer closes its end.
std::string ReadStandardInput() {
  sigset_t stops, previous;
  sigemptyset(&stops);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, sig);
  sigprocmask(SIG_BLOCK, &stops, &previous);
  sigset_t waiting = previous;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigdelset(&waiting, sig);
  std::string data;
  std::array<char, 65536> buffer;
  while (!stopSignal) {
    pollfd input = {0, POLLIN, 0};
    if (ppoll(&input, 1, nullptr, &waiting) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    ssize_t n = ::read(0, buffer.data(), buffer.size());
    if (n > 0) {
      data.append(buffer.data(), static_cast<size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      break;
    }
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  return data;
}

std::vector<std::u32string> InputLines(const Options& o) {
  if (!o.text.empty()) {
    // A blank is no phonetic symbol: phonetic arguments are joined by a pause mark instead.
    std::string separator = o.mode == "phonetic" ? "、" : " ";
    std::string joined;
    for (size_t i = 0; i < o.text.size(); ++i) joined += (i ? separator : "") + o.text[i];
    return SplitLines(FromUtf8(joined));
  }
  return SplitLines(DecodeTextFile(ReadStandardInput()));
}

int Run(int argc, char** argv);

}  // namespace

int main(int argc, char** argv) {
  int status = Run(argc, argv);
  if (StandardOutputFailed()) return 4;
  return status;
}

namespace {

int Run(int argc, char** argv) {
  Options o;
  if (int status = ParseOptions(argc, argv, o); status >= 0) return status;
  std::string dict = o.dict.empty() ? DictionaryFolder() : o.dict;
  if (dict.back() != '/') dict += '/';

  VirtualClock virtualClock;
  EngineSetup setup;
  setup.dictionaryFolder = dict;
  setup.firstVoice = o.voice;
  VirtualAudioDevice* virtualDevice = nullptr;
  bool streaming = !o.print && (o.raw || o.output == "-");
  if (streaming) {
    setup.device = std::make_unique<StreamDevice>(virtualClock);
    setup.clock = &virtualClock;
  } else if (o.print || !o.output.empty()) {
    auto device = std::make_unique<VirtualAudioDevice>(virtualClock);
    device->keepPieces = o.print;
    virtualDevice = device.get();
    setup.device = std::move(device);
    setup.clock = &virtualClock;
    if (o.print) setup.voices = std::make_unique<SilentVoiceLibrary>();
  }

  std::unique_ptr<clsMAIN> engine;
  try {
    engine = std::make_unique<clsMAIN>(std::move(setup));
  } catch (const DictionaryError& e) {
    std::cerr << "kotonel-say: " << ToUtf8(ReplaceAll(e.Text(), U"\r\n", U"\n")) << "\n";
    return 3;
  }
  engine->CONV(o.mode != "phonetic");
  engine->Intonation(o.mode == "accent");
  engine->VOICE(o.voice);
  engine->SPEED(o.speed);
  engine->VOLUME(o.volume);
  auto stopIfSignalled = [&engine] {
    if (!stopSignal) return;
    engine.reset();
    ::signal(stopSignal, SIG_DFL);
    // It may have come in while held back by whoever started us: let it end the program now.
    sigset_t signalled;
    sigemptyset(&signalled);
    sigaddset(&signalled, stopSignal);
    ::raise(stopSignal);
    sigprocmask(SIG_UNBLOCK, &signalled, nullptr);
  };
  bool recording = !o.print && !streaming && !o.output.empty();
  if (streaming && !o.raw && !Print(StreamHeader())) return 4;  // reported on the way out
  if (recording) {
    engine->PATH(o.output);
    engine->RECORD(true);
    // Interrupted, the recording's temporary file goes away instead of staying beside it.
    struct sigaction action = {};
    action.sa_handler = [](int sig) { stopSignal = sig; };
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
    // Before any synthesis: a file that cannot be written is known at once.
    if (!engine->Wave().OpenRecording()) {
      stopIfSignalled();  // interrupted while a FIFO waited for its reader
      std::cerr << "kotonel-say: cannot write the recording: " << engine->Wave().RecordingError()
                << "\n";
      return 4;
    }
  }

  std::vector<std::u32string> lines = InputLines(o);
  for (size_t number = 1; number <= lines.size(); ++number) {
    stopIfSignalled();
    const std::u32string& line = lines[number - 1];
    size_t before = virtualDevice ? virtualDevice->Pieces().size() : 0;
    int32_t rc = engine->Speech(0, line);
    if (stdoutError) return 4;  // the player went away: reported on the way out
    if (rc == kRecordingFull) {
      // What fits is kept: the file ends before this line.
      std::cerr << "kotonel-say: line " << number << ": " << ToUtf8(SpeechErrorMessage(rc)) << ": "
                << engine->LastError() << "; the recording stops before this line\n";
      if (!engine->SAVE())
        std::cerr << "kotonel-say: could not write the recording: "
                  << engine->Wave().RecordingError() << "\n";
      return 4;
    }
    if (rc != 0) {
      std::cerr << "kotonel-say: line " << number << " (" << ToUtf8(line)
                << "): " << ToUtf8(SpeechErrorMessage(rc));
      if (!engine->LastError().empty()) std::cerr << ": " << engine->LastError();
      std::cerr << "\n";
      return 4;
    }
    if (o.print) {
      std::u32string printed;
      const auto& pieces = virtualDevice->Pieces();
      for (size_t k = before; k < pieces.size(); ++k) printed += pieces[k].phonetic;
      if (!Print(ToUtf8(printed) + "\n")) return 4;  // reported on the way out
    }
  }
  stopIfSignalled();
  if (recording && !engine->SAVE()) {
    std::cerr << "kotonel-say: could not write the recording: " << engine->Wave().RecordingError()
              << "\n";
    return 4;
  }
  return 0;
}

}  // namespace
