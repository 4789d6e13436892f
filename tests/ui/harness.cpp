#include "harness.h"

#include <QApplication>
#include <QRadioButton>
#include <stdexcept>

#include "ui/frm_settings.h"
#include "util/encoding.h"

namespace kotonel::test {

Harness::Harness() {
  clock.onSleep = [this](uint64_t now) {
    for (auto& t : timed_) {
      if (t->done || now < readStart_ + t->at) continue;
      t->done = true;
      t->action();
    }
  };
}

Harness::~Harness() {
  window.reset();
  QApplication::processEvents();
}

frmメイン& Harness::Start(bool show, bool phonetic) {
  MainSetup setup;
  setup.programName = "Kotonel";
  setup.programFolder = ProgramFolder();
  setup.writableFolder = writableOverride.empty() ? WritableFolder() : writableOverride;
  setup.dictionaryFolder = DictionaryFolder();
  setup.commands = &commands;
  setup.makeEngine = [this](MessagePump pump) {
    auto dev = std::make_unique<VirtualAudioDevice>(clock);
    auto lib = std::make_unique<FakeVoiceLibrary>();
    device = dev.get();
    voices = lib.get();
    for (const std::string& s : failOn) voices->failOn.push_back(ToCp932(FromUtf8(s)));
    EngineSetup es;
    es.dictionaryFolder = DictionaryFolder();
    es.device = std::move(dev);
    es.voices = std::move(lib);
    es.clock = &clock;
    es.pump = std::move(pump);
    return std::make_unique<clsMAIN>(std::move(es));
  };
  window = std::make_unique<frmメイン>(std::move(setup));
  if (!window->Load()) throw std::runtime_error("the main window did not load");
  if (show) window->show();
  if (phonetic) window->Settings()->opt変換[2]->setChecked(true);
  return *window;
}

void Harness::Read(const QString& text) {
  window->テキスト()->setPlainText(text);
  readStart_ = clock.NowMs();
  window->chk再生->setChecked(true);
}

std::vector<std::u32string> Harness::Spoken() const {
  std::vector<std::u32string> out;
  for (const auto& p : device->Pieces()) out.push_back(p.phonetic);
  return out;
}

void Harness::At(uint64_t ms, std::function<void()> action) {
  auto t = std::make_shared<Timed>();
  t->at = ms;
  t->action = std::move(action);
  timed_.push_back(t);
}

}  // namespace kotonel::test
