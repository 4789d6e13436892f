// A very long line keeps the window and the command queue going: the engine converts a sentence
// of thousands of characters a piece at a time and lets the window run between pieces.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>

#include "harness.h"
#include "ui/frm_settings.h"
#include "util/encoding.h"

namespace kotonel::test {
namespace {

// Presses stop from the command queue at the first chance it is given during a reading.
class StopAtFirstWait final : public CommandWindow {
 public:
  bool PreviousInstanceRunning() override { return false; }
  void Load(const std::u32string&, bool) override {}
  void EnableTimer() override {}
  bool CMD_NOW() override {
    ++waits;
    if (stop && window && window->chk再生->isChecked() && !window->chk中止->isChecked()) {
      window->chk中止->setChecked(true);
      return true;
    }
    return false;
  }
  void Unload() override {}
  frmメイン* window = nullptr;
  bool stop = true;
  int waits = 0;
};

class LongLine : public ::testing::Test {
 protected:
  void SetUp() override {
    MainSetup setup;
    setup.programFolder = program.path().toStdString() + "/";
    setup.writableFolder = writable.path().toStdString() + "/";
    setup.dictionaryFolder = Harness::DictionaryFolder();
    setup.commands = &commands;
    setup.makeEngine = [this](MessagePump pump) {
      auto dev = std::make_unique<VirtualAudioDevice>(clock);
      device = dev.get();
      EngineSetup es;
      es.dictionaryFolder = Harness::DictionaryFolder();
      es.device = std::move(dev);
      es.voices = std::make_unique<FakeVoiceLibrary>();
      es.clock = &clock;
      es.pump = std::move(pump);
      auto made = std::make_unique<clsMAIN>(std::move(es));
      engine = made.get();
      return made;
    };
    window = std::make_unique<frmメイン>(std::move(setup));
    ASSERT_TRUE(window->Load());
    window->Settings()->opt変換[0]->setChecked(true);  // full conversion
    commands.window = window.get();
  }
  void TearDown() override {
    window.reset();
    QApplication::processEvents();
  }
  void Read(const std::u32string& text) {
    window->テキスト()->setPlainText(Q(text));
    window->chk再生->setChecked(true);
  }
  std::u32string Spoken() const {
    std::u32string all;
    for (const auto& p : device->Pieces()) all += p.phonetic;
    return all;
  }

  QTemporaryDir program, writable;
  VirtualClock clock;
  TestPrompts prompts;
  StopAtFirstWait commands;
  VirtualAudioDevice* device = nullptr;
  clsMAIN* engine = nullptr;
  std::unique_ptr<frmメイン> window;
};

size_t Count(const std::u32string& text, const std::u32string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::u32string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

TEST_F(LongLine, AStopArrivesWhileALongSentenceIsStillBeingConverted) {
  // Twenty thousand characters that speak as nothing, then a word: the whole line used to be
  // converted before the queue was looked at again, so the word was spoken before the stop.
  Read(std::u32string(20000, U'■') + U"ほんをよむ");
  EXPECT_GT(commands.waits, 0);
  EXPECT_TRUE(device->Pieces().empty()) << ToUtf8(Spoken());
  EXPECT_FALSE(window->chk再生->isChecked());  // the reading has ended
}

TEST_F(LongLine, NothingIsLostWhereALongSentenceIsCut) {
  commands.stop = false;
  std::u32string line;
  for (int i = 0; i < 1000; ++i) line += U"日本のほんをよむ";
  Read(line);
  // Without a mark of its own the line is spoken in pieces of 100 characters, each with the
  // sentence's mark; without those marks every word is there.
  std::u32string spoken;
  for (char32_t c : Spoken())
    if (c != U'。') spoken += c;
  EXPECT_EQ(Count(spoken, U"よむ"), 1000u);
  EXPECT_EQ(Count(spoken, U"にほ"), 1000u);
}

TEST_F(LongLine, AVeryLongLineIsPreparedAChunkAtATimeIntoTheSameSentences) {
  commands.stop = false;
  std::u32string line;
  for (int i = 0; i < 40; ++i)
    line += U"日本の 本を・・よむ、　ほん？を・よむ。。くに" + std::u32string(1, U'0' + i % 10);
  auto pieces = [&](size_t chunk) {
    engine->prepareChunk = chunk;
    const size_t before = device->Pieces().size();
    Read(line);
    std::vector<std::u32string> spoken;
    for (size_t k = before; k < device->Pieces().size(); ++k)
      spoken.push_back(device->Pieces()[k].phonetic);
    return spoken;
  };
  const auto whole = pieces(line.size() + 1);
  ASSERT_GT(whole.size(), 40u);
  // Every chunk size puts a chunk's end somewhere else: beside a blank, a run of separators
  // or a mark, none of which may change how the line is cut or read.
  for (size_t chunk : {1, 2, 3, 5, 8, 13, 100})
    EXPECT_EQ(pieces(chunk), whole) << "chunk " << chunk;
}

TEST_F(LongLine, AStopArrivesBetweenChunksOfAVeryLongLine) {
  // Short sentences that speak as nothing, then words: the whole line used to be prepared and
  // cut before anything was spoken or the queue looked at.
  engine->prepareChunk = 1000;
  std::u32string line;
  for (int i = 0; i < 20000; ++i) line += U"■、";
  Read(line + U"ほんをよむ");
  EXPECT_GT(commands.waits, 0);
  EXPECT_EQ(Count(Spoken(), U"よむ"), 0u) << ToUtf8(Spoken());
  EXPECT_FALSE(window->chk再生->isChecked());
}

}  // namespace
}  // namespace kotonel::test
