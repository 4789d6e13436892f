// kotonel-say: reads Japanese text aloud from the command line, records it to a WAV file, or
// prints the phonetic string the synthesizer would be given.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

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
    "Reads TEXT (the arguments joined by a space) or, without TEXT, standard input aloud,\n"
    "one line at a time.\n"
    "\n"
    "  -o, --output FILE   record to the WAV file FILE instead of playing\n"
    "  -t, --voice N       voice 0-7 (0 女性１, 1 女性２, 2 男性１, 3 男性２, 4 ロボット,\n"
    "                      5 中性, 6 機械, 7 特殊; default 0)\n"
    "  -s, --speed N       speed 50-300 (default 100)\n"
    "      --volume N      volume 0-60 (default 20)\n"
    "  -m, --mode MODE     accent (default), plain (no intonation) or phonetic (the text is\n"
    "                      already phonetic symbols)\n"
    "  -p, --print         print the phonetic string of each line instead of speaking\n"
    "      --dict DIR      dictionary folder (default: dll/ beside the program)\n"
    "  -h, --help          show this help\n"
    "      --version       show the version\n"
    "\n"
    "Exit status: 0 done, 2 bad usage, 3 a dictionary failed to load, 4 speaking failed.\n";

struct Options {
  std::string output;
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
      std::cout << kUsage;
      return 0;
    }
    if (a == "--version") {
      std::cout << "kotonel-say (Kotonel) 1.56\n";
      return 0;
    }
    if (a == "-p" || a == "--print") {
      o.print = true;
      continue;
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
      o.output = value;
    } else if (name == "-t" || name == "--voice") {
      if (!ParseNumber(value, 0, 7, o.voice)) return UsageError("voice must be 0-7: " + value);
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
  return -1;
}

std::vector<std::u32string> InputLines(const Options& o) {
  if (!o.text.empty()) {
    std::string joined;
    for (size_t i = 0; i < o.text.size(); ++i) joined += (i ? " " : "") + o.text[i];
    return SplitLines(FromUtf8(joined));
  }
  std::string data((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  return SplitLines(DecodeTextFile(data));
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (int status = ParseOptions(argc, argv, o); status >= 0) return status;
  std::string dict = o.dict.empty() ? DictionaryFolder() : o.dict;
  if (dict.back() != '/') dict += '/';

  VirtualClock virtualClock;
  EngineSetup setup;
  setup.dictionaryFolder = dict;
  VirtualAudioDevice* virtualDevice = nullptr;
  if (o.print || !o.output.empty()) {
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
  if (!o.print && !o.output.empty()) {
    engine->PATH(o.output);
    engine->RECORD(true);
  }

  for (const auto& line : InputLines(o)) {
    size_t before = virtualDevice ? virtualDevice->Pieces().size() : 0;
    int32_t rc = engine->Speech(0, line);
    if (rc != 0) {
      std::cerr << "kotonel-say: " << ToUtf8(SpeechErrorMessage(rc));
      if (!engine->LastError().empty()) std::cerr << ": " << engine->LastError();
      std::cerr << "\n";
      return 4;
    }
    if (o.print) {
      std::u32string printed;
      const auto& pieces = virtualDevice->Pieces();
      for (size_t k = before; k < pieces.size(); ++k) printed += pieces[k].phonetic;
      std::cout << ToUtf8(printed) << "\n";
    }
  }
  std::cout.flush();
  if (!o.print && !o.output.empty() && !engine->SAVE()) {
    std::cerr << "kotonel-say: could not write the recording to " << o.output << "\n";
    return 4;
  }
  return 0;
}
